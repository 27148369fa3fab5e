// GDI object wrappers (pens, brushes, regions) and the maps from handle to wrapper: the objects
// the program made are handed back as themselves, and handles it does not own get temporary
// wrappers that live until the current message has been handled.
#include "afximpl.h"

#include <memory>
#include <typeinfo>
#include <unordered_map>

namespace {

// Unbound wrappers kept for reuse, at most.
const std::size_t kKeptWrappers = 16;

// Objects the program created or attached, by handle: SelectObject hands these back as the
// very objects the program owns.
std::unordered_map<HGDIOBJ, CGdiObject*>& PermanentMap()
{
    static std::unordered_map<HGDIOBJ, CGdiObject*> map;
    return map;
}

// Wrappers made on demand for handles the program does not own. Between messages a wrapper
// is kept unbound (null handle) rather than freed: the same few foreign handles (the stock pen
// and brush of every fresh DC) come back in every message, and rebinding costs no allocation.
std::unordered_map<HGDIOBJ, std::unique_ptr<CGdiObject>>& TemporaryMap()
{
    static std::unordered_map<HGDIOBJ, std::unique_ptr<CGdiObject>> map;
    return map;
}

template <class T>
bool IsA(const CGdiObject& object)
{
    return typeid(object) == typeid(T);
}

template <class T>
T* FromHandleOf(HGDIOBJ hObject)
{
    if (hObject == NULL)
        return NULL;
    // An object the program owns comes back as itself, but only as what it is: a handle of
    // one kind asked for as another gets a wrapper of the kind asked for.
    auto permanent = PermanentMap().find(hObject);
    if (permanent != PermanentMap().end()) {
        if (T* pObject = dynamic_cast<T*>(permanent->second))
            return pObject;
    }
    std::unique_ptr<CGdiObject>& temporary = TemporaryMap()[hObject];
    // A wrapper kept from an earlier message may be of another class (the handle has since
    // been given to another kind of object); it is replaced, so that a T comes back. One
    // handed out in this message stays as it is, since the caller may still hold it.
    if (!temporary || (temporary->m_hObject == NULL && !IsA<T>(*temporary)))
        temporary = std::make_unique<T>();
    temporary->m_hObject = hObject;  // not Attach: a wrapper never owns its handle
    return static_cast<T*>(temporary.get());
}

}  // namespace

// Unbinds the wrappers; they are freed only when more than a handful have gathered, since a
// handle a program met once may never come back.
void AfxDeleteTempMap()
{
    for (auto& entry : TemporaryMap())
        entry.second->m_hObject = NULL;
    if (TemporaryMap().size() > kKeptWrappers)
        TemporaryMap().clear();
}

void CException::Delete()
{
    delete this;
}

void AfxThrowResourceException()
{
    throw new CResourceException;
}

CGdiObject::CGdiObject() : m_hObject(NULL) {}

CGdiObject::~CGdiObject()
{
    DeleteObject();
}

BOOL CGdiObject::Attach(HGDIOBJ hObject)
{
    if (hObject == NULL)
        return FALSE;
    m_hObject = hObject;
    PermanentMap()[hObject] = this;
    return TRUE;
}

HGDIOBJ CGdiObject::Detach()
{
    HGDIOBJ hObject = m_hObject;
    if (hObject != NULL) {
        auto entry = PermanentMap().find(hObject);
        if (entry != PermanentMap().end() && entry->second == this)
            PermanentMap().erase(entry);
    }
    m_hObject = NULL;
    return hObject;
}

BOOL CGdiObject::DeleteObject()
{
    if (m_hObject == NULL)
        return FALSE;
    return ::DeleteObject(Detach());
}

CGdiObject* PASCAL CGdiObject::FromHandle(HGDIOBJ hObject)
{
    return FromHandleOf<CGdiObject>(hObject);
}

CPen::CPen() = default;

CPen::CPen(int nPenStyle, int nWidth, COLORREF crColor)
{
    if (!CreatePen(nPenStyle, nWidth, crColor))
        AfxThrowResourceException();
}

BOOL CPen::CreatePen(int nPenStyle, int nWidth, COLORREF crColor)
{
    return Attach(::CreatePen(nPenStyle, nWidth, crColor));
}

CPen* PASCAL CPen::FromHandle(HPEN hPen)
{
    return FromHandleOf<CPen>(hPen);
}

CBrush::CBrush() = default;

CBrush::CBrush(COLORREF crColor)
{
    if (!CreateSolidBrush(crColor))
        AfxThrowResourceException();
}

BOOL CBrush::CreateSolidBrush(COLORREF crColor)
{
    return Attach(::CreateSolidBrush(crColor));
}

CBrush* PASCAL CBrush::FromHandle(HBRUSH hBrush)
{
    return FromHandleOf<CBrush>(hBrush);
}

CRgn::CRgn() = default;

BOOL CRgn::CreateRectRgn(int x1, int y1, int x2, int y2)
{
    return Attach(::CreateRectRgn(x1, y1, x2, y2));
}
