// MessageBox: a small modal toplevel, owned by the program's window where it has one, with the
// text and an OK button drawn by pango and cairo (loaded only now, see textlib.h) into one
// shared-memory buffer. It runs its own
// loop until the button is clicked, Return or Escape is pressed in it, or it is closed. The
// program's other windows hear of their events meanwhile (the core only notes them), but are
// not drawn, as the program draws nothing while it waits for the box.
#include "buffers.h"
#include "display.h"
#include "functions.h"
#include "textlib.h"
#include "window.h"

#include <libdecor.h>

#include <linux/input-event-codes.h>
#include <unistd.h>

#include <algorithm>
#include <memory>
#include <string>

namespace wayland {

namespace {

const char kButtonLabel[] = "OK";
const char kFont[] = "Sans 10";
// Logical units, which the box's scale turns into device pixels.
const int kMargin = 16;
const int kButtonGap = 16;
const int kButtonMinWidth = 72;
const int kButtonPadding = 6;
const int kMaxTextWidth = 600;
// The caption is centred in the title bar between room for the frame's buttons on either side
// (libdecor's cairo plugin draws three of about 30 units at the right), in a bolder, larger
// font than the text.
const char kTitleFont[] = "Sans Bold 12";
const int kTitleBarButtonsWidth = 100;
// Longer text is cut off with an ellipsis, which keeps the box on the screen.
const int kMaxLines = 40;
const double kWhite = 1.0;
const double kBlack = 0.0;
const double kButtonLineWidth = 1.0;
// A one-unit line on the middle of a unit's pixels, so that it covers them exactly.
const double kHalfUnit = 0.5;

struct CRect {
    int x;
    int y;
    int nWidth;
    int nHeight;

    bool Contains(double px, double py) const
    {
        return px >= x && px < x + nWidth && py >= y && py < y + nHeight;
    }
};

// Only called once ShowMessageBox has made sure the library is there.
const CTextLibrary& Text()
{
    return *TextLibrary();
}

// Text from outside may not be UTF-8, which pango insists on.
std::string ValidUtf8(const char* lpszText)
{
    gchar* pValid = Text().g_utf8_make_valid(lpszText, -1);
    const std::string text = pValid;
    Text().g_free(pValid);
    return text;
}

PangoLayout* CreateLayout(cairo_t* pCairo, const std::string& text, int nMaxWidth,
                          const char* lpszFont = kFont)
{
    PangoLayout* pLayout = Text().pango_cairo_create_layout(pCairo);
    PangoFontDescription* pFont = Text().pango_font_description_from_string(lpszFont);
    Text().pango_layout_set_font_description(pLayout, pFont);
    Text().pango_font_description_free(pFont);
    Text().pango_layout_set_text(pLayout, text.c_str(), -1);
    if (nMaxWidth > 0) {
        Text().pango_layout_set_width(pLayout, nMaxWidth * PANGO_SCALE);
        Text().pango_layout_set_wrap(pLayout, PANGO_WRAP_WORD_CHAR);
        Text().pango_layout_set_height(pLayout, -kMaxLines);
        Text().pango_layout_set_ellipsize(pLayout, PANGO_ELLIPSIZE_END);
    }
    return pLayout;
}

class CMessageBox {
public:
    CMessageBox(const char* lpszText, const char* lpszCaption, CWaylandWindow* pOwner);
    ~CMessageBox();
    CMessageBox(const CMessageBox&) = delete;
    CMessageBox& operator=(const CMessageBox&) = delete;

    void RunModal();

private:
    static void OnConfigure(libdecor_frame*, libdecor_configuration* pConfiguration,
                            void* pData);
    static void OnClose(libdecor_frame*, void* pData);
    static void OnCommit(libdecor_frame*, void* pData);
    static void OnDismissPopup(libdecor_frame*, const char*, void*) {}
    static void OnPointerEnter(void* pData, wl_pointer*, std::uint32_t, wl_surface* pSurface,
                               wl_fixed_t x, wl_fixed_t y);
    static void OnPointerLeave(void* pData, wl_pointer*, std::uint32_t, wl_surface*);
    static void OnPointerMotion(void* pData, wl_pointer*, std::uint32_t, wl_fixed_t x,
                                wl_fixed_t y);
    static void OnPointerButton(void* pData, wl_pointer*, std::uint32_t, std::uint32_t,
                                std::uint32_t nButton, std::uint32_t nState);
    static void OnPointerAxis(void*, wl_pointer*, std::uint32_t, std::uint32_t, wl_fixed_t) {}
    static void OnKeymap(void*, wl_keyboard*, std::uint32_t, std::int32_t nFd, std::uint32_t);
    static void OnKeyboardEnter(void* pData, wl_keyboard*, std::uint32_t, wl_surface* pSurface,
                                wl_array*);
    static void OnKeyboardLeave(void* pData, wl_keyboard*, std::uint32_t, wl_surface*);
    static void OnKey(void* pData, wl_keyboard*, std::uint32_t, std::uint32_t, std::uint32_t nKey,
                      std::uint32_t nState);
    static void OnModifiers(void*, wl_keyboard*, std::uint32_t, std::uint32_t, std::uint32_t,
                            std::uint32_t, std::uint32_t) {}

    void Layout();
    void Configure(libdecor_configuration* pConfiguration);
    bool Draw();
    void DrawContent(cairo_t* pCairo);
    void ListenToSeat();
    void CommitWithEdges();

    std::string m_text;
    std::string m_caption;
    CWaylandWindow* m_pOwner;
    wl_surface* m_pSurface;
    libdecor_frame* m_pFrame = nullptr;
    wl_pointer* m_pPointer = nullptr;
    wl_keyboard* m_pKeyboard = nullptr;
    std::unique_ptr<CShmBuffer> m_pBuffer;
    int m_nScale;
    int m_nWidth = 0;   // logical
    int m_nHeight = 0;
    CRect m_button{0, 0, 0, 0};
    bool m_bPointerInside = false;
    bool m_bKeyboardFocus = false;
    double m_xPointer = 0;
    double m_yPointer = 0;
    bool m_bButtonArmed = false;
    bool m_bDone = false;
};

CMessageBox::CMessageBox(const char* lpszText, const char* lpszCaption, CWaylandWindow* pOwner)
    : m_text(ValidUtf8(lpszText)),
      m_caption(ValidUtf8(*lpszCaption != '\0' ? lpszCaption : portable::ApplicationName())),
      m_pOwner(pOwner),
      m_pSurface(wl_compositor_create_surface(TheConnection().m_pCompositor)),
      m_nScale(1)
{
    for (const auto& pOutput : TheConnection().m_outputs)
        m_nScale = std::max(m_nScale, pOutput->m_nScale);
    Layout();
    ListenToSeat();
    static libdecor_frame_interface s_frameInterface = {
        OnConfigure, OnClose, OnCommit, OnDismissPopup, nullptr, nullptr, nullptr,
        nullptr,     nullptr, nullptr,  nullptr,        nullptr, nullptr, nullptr};
    m_pFrame = libdecor_decorate(TheConnection().m_pDecor, m_pSurface, &s_frameInterface, this);
    if (m_pFrame == nullptr) {
        m_bDone = true;
        return;
    }
    libdecor_frame_set_title(m_pFrame, m_caption.c_str());
    libdecor_frame_set_app_id(m_pFrame, kAppId);
    if (m_pOwner != nullptr && m_pOwner->GetFrame() != nullptr)
        libdecor_frame_set_parent(m_pFrame, m_pOwner->GetFrame());
    libdecor_frame_set_min_content_size(m_pFrame, m_nWidth, m_nHeight);
    libdecor_frame_set_max_content_size(m_pFrame, m_nWidth, m_nHeight);
    libdecor_frame_unset_capabilities(
        m_pFrame, static_cast<libdecor_capabilities>(LIBDECOR_ACTION_RESIZE |
                                                     LIBDECOR_ACTION_FULLSCREEN |
                                                     LIBDECOR_ACTION_MINIMIZE));
    libdecor_frame_map(m_pFrame);
}

CMessageBox::~CMessageBox()
{
    if (m_pKeyboard != nullptr)
        wl_keyboard_destroy(m_pKeyboard);
    if (m_pPointer != nullptr)
        wl_pointer_destroy(m_pPointer);
    if (m_pFrame != nullptr)
        libdecor_frame_unref(m_pFrame);
    wl_surface_destroy(m_pSurface);
    m_pBuffer.reset();
    wl_display_flush(TheConnection().m_pDisplay);
}

// The box's size follows from the text's, measured on a scratch surface.
void CMessageBox::Layout()
{
    cairo_surface_t* pScratch = Text().cairo_image_surface_create(CAIRO_FORMAT_RGB24, 1, 1);
    cairo_t* pCairo = Text().cairo_create(pScratch);
    int nTextWidth = 0;
    int nTextHeight = 0;
    PangoLayout* pText = CreateLayout(pCairo, m_text, kMaxTextWidth);
    Text().pango_layout_get_pixel_size(pText, &nTextWidth, &nTextHeight);
    Text().g_object_unref(pText);
    int nLabelWidth = 0;
    int nLabelHeight = 0;
    PangoLayout* pLabel = CreateLayout(pCairo, kButtonLabel, 0);
    Text().pango_layout_get_pixel_size(pLabel, &nLabelWidth, &nLabelHeight);
    Text().g_object_unref(pLabel);
    int nTitleWidth = 0;
    int nTitleHeight = 0;
    PangoLayout* pTitle = CreateLayout(pCairo, m_caption, 0, kTitleFont);
    Text().pango_layout_get_pixel_size(pTitle, &nTitleWidth, &nTitleHeight);
    Text().g_object_unref(pTitle);
    Text().cairo_destroy(pCairo);
    Text().cairo_surface_destroy(pScratch);

    const int nButtonWidth = std::max(kButtonMinWidth, nLabelWidth + 2 * kButtonPadding);
    const int nButtonHeight = nLabelHeight + 2 * kButtonPadding;
    m_nWidth = std::max({nTextWidth + 2 * kMargin, nButtonWidth + 2 * kMargin,
                         nTitleWidth + 2 * kTitleBarButtonsWidth});
    m_nHeight = kMargin + nTextHeight + kButtonGap + nButtonHeight + kMargin;
    m_button = CRect{(m_nWidth - nButtonWidth) / 2, m_nHeight - kMargin - nButtonHeight,
                     nButtonWidth, nButtonHeight};
}

void CMessageBox::DrawContent(cairo_t* pCairo)
{
    Text().cairo_scale(pCairo, m_nScale, m_nScale);
    Text().cairo_set_source_rgb(pCairo, kWhite, kWhite, kWhite);
    Text().cairo_paint(pCairo);
    Text().cairo_set_source_rgb(pCairo, kBlack, kBlack, kBlack);
    PangoLayout* pText = CreateLayout(pCairo, m_text, kMaxTextWidth);
    Text().cairo_move_to(pCairo, kMargin, kMargin);
    Text().pango_cairo_show_layout(pCairo, pText);
    Text().g_object_unref(pText);

    Text().cairo_set_line_width(pCairo, kButtonLineWidth);
    Text().cairo_rectangle(pCairo, m_button.x + kHalfUnit, m_button.y + kHalfUnit, m_button.nWidth - 1,
                    m_button.nHeight - 1);
    Text().cairo_stroke(pCairo);
    PangoLayout* pLabel = CreateLayout(pCairo, kButtonLabel, 0);
    int nLabelWidth = 0;
    int nLabelHeight = 0;
    Text().pango_layout_get_pixel_size(pLabel, &nLabelWidth, &nLabelHeight);
    Text().cairo_move_to(pCairo, m_button.x + (m_button.nWidth - nLabelWidth) / 2,
                  m_button.y + (m_button.nHeight - nLabelHeight) / 2);
    Text().pango_cairo_show_layout(pCairo, pLabel);
    Text().g_object_unref(pLabel);
}

// cairo's RGB24 is the same 32-bit word as wl_shm's XRGB8888. The box is drawn once, so one
// buffer serves: it is never drawn into again.
bool CMessageBox::Draw()
{
    const int nWidth = m_nWidth * m_nScale;
    const int nHeight = m_nHeight * m_nScale;
    m_pBuffer = std::make_unique<CShmBuffer>();
    if (!m_pBuffer->Create(nWidth, nHeight, [](void*) {}, nullptr))
        return false;
    cairo_surface_t* pSurface = Text().cairo_image_surface_create_for_data(
        reinterpret_cast<unsigned char*>(m_pBuffer->GetPixels()), CAIRO_FORMAT_RGB24, nWidth,
        nHeight, nWidth * static_cast<int>(sizeof(std::uint32_t)));
    cairo_t* pCairo = Text().cairo_create(pSurface);
    DrawContent(pCairo);
    Text().cairo_destroy(pCairo);
    Text().cairo_surface_flush(pSurface);
    Text().cairo_surface_destroy(pSurface);
    wl_surface_set_buffer_scale(m_pSurface, m_nScale);
    wl_surface_attach(m_pSurface, m_pBuffer->GetBuffer(), 0, 0);
    wl_surface_damage_buffer(m_pSurface, 0, 0, nWidth, nHeight);
    return true;
}

// The box keeps its own size whatever the compositor suggests.
void CMessageBox::Configure(libdecor_configuration* pConfiguration)
{
    libdecor_state* pState = libdecor_state_new(m_nWidth, m_nHeight);
    libdecor_frame_commit(m_pFrame, pState, pConfiguration);
    libdecor_state_free(pState);
    if (m_pBuffer == nullptr && !Draw())
        m_bDone = true;
    wl_surface_commit(m_pSurface);
}

void CMessageBox::OnConfigure(libdecor_frame*, libdecor_configuration* pConfiguration,
                              void* pData)
{
    static_cast<CMessageBox*>(pData)->Configure(pConfiguration);
}

void CMessageBox::OnClose(libdecor_frame*, void* pData)
{
    static_cast<CMessageBox*>(pData)->m_bDone = true;
}

void CMessageBox::OnCommit(libdecor_frame*, void* pData)
{
    wl_surface_commit(static_cast<CMessageBox*>(pData)->m_pSurface);
}

void CMessageBox::OnPointerEnter(void* pData, wl_pointer*, std::uint32_t, wl_surface* pSurface,
                                 wl_fixed_t x, wl_fixed_t y)
{
    CMessageBox* pBox = static_cast<CMessageBox*>(pData);
    pBox->m_bPointerInside = pSurface == pBox->m_pSurface;
    pBox->m_xPointer = wl_fixed_to_double(x);
    pBox->m_yPointer = wl_fixed_to_double(y);
}

void CMessageBox::OnPointerLeave(void* pData, wl_pointer*, std::uint32_t, wl_surface*)
{
    CMessageBox* pBox = static_cast<CMessageBox*>(pData);
    pBox->m_bPointerInside = false;
    pBox->m_bButtonArmed = false;
}

void CMessageBox::OnPointerMotion(void* pData, wl_pointer*, std::uint32_t, wl_fixed_t x,
                                  wl_fixed_t y)
{
    CMessageBox* pBox = static_cast<CMessageBox*>(pData);
    pBox->m_xPointer = wl_fixed_to_double(x);
    pBox->m_yPointer = wl_fixed_to_double(y);
}

// The button acts on release over it after a press over it, as push buttons do: a press that
// slides off cancels.
void CMessageBox::OnPointerButton(void* pData, wl_pointer*, std::uint32_t, std::uint32_t,
                                  std::uint32_t nButton, std::uint32_t nState)
{
    CMessageBox* pBox = static_cast<CMessageBox*>(pData);
    const bool bOnButton =
        pBox->m_bPointerInside && pBox->m_button.Contains(pBox->m_xPointer, pBox->m_yPointer);
    if (nButton != BTN_LEFT)
        return;
    if (nState == WL_POINTER_BUTTON_STATE_PRESSED) {
        pBox->m_bButtonArmed = bOnButton;
        return;
    }
    if (pBox->m_bButtonArmed && bOnButton)
        pBox->m_bDone = true;
    pBox->m_bButtonArmed = false;
}

// The keys wanted have fixed evdev codes, so the keymap itself is not needed.
void CMessageBox::OnKeymap(void*, wl_keyboard*, std::uint32_t, std::int32_t nFd, std::uint32_t)
{
    close(nFd);
}

void CMessageBox::OnKeyboardEnter(void* pData, wl_keyboard*, std::uint32_t, wl_surface* pSurface,
                                  wl_array*)
{
    CMessageBox* pBox = static_cast<CMessageBox*>(pData);
    pBox->m_bKeyboardFocus = pSurface == pBox->m_pSurface;
}

void CMessageBox::OnKeyboardLeave(void* pData, wl_keyboard*, std::uint32_t, wl_surface*)
{
    static_cast<CMessageBox*>(pData)->m_bKeyboardFocus = false;
}

void CMessageBox::OnKey(void* pData, wl_keyboard*, std::uint32_t, std::uint32_t,
                        std::uint32_t nKey, std::uint32_t nState)
{
    CMessageBox* pBox = static_cast<CMessageBox*>(pData);
    if (pBox->m_bKeyboardFocus && nState == WL_KEYBOARD_KEY_STATE_PRESSED &&
        (nKey == KEY_ENTER || nKey == KEY_KPENTER || nKey == KEY_ESC))
        pBox->m_bDone = true;
}

// A seat without a pointer or keyboard leaves the box to be closed from its frame.
void CMessageBox::ListenToSeat()
{
    const CConnection& connection = TheConnection();
    if (connection.m_pSeat == nullptr)
        return;
    if ((connection.m_nSeatCapabilities & WL_SEAT_CAPABILITY_POINTER) != 0) {
        static const wl_pointer_listener kPointerListener = {
            OnPointerEnter, OnPointerLeave, OnPointerMotion, OnPointerButton, OnPointerAxis,
            nullptr,        nullptr,        nullptr,         nullptr,         nullptr};
        m_pPointer = wl_seat_get_pointer(connection.m_pSeat);
        wl_pointer_add_listener(m_pPointer, &kPointerListener, this);
    }
    if ((connection.m_nSeatCapabilities & WL_SEAT_CAPABILITY_KEYBOARD) != 0) {
        static const wl_keyboard_listener kKeyboardListener = {
            OnKeymap, OnKeyboardEnter, OnKeyboardLeave, OnKey, OnModifiers, nullptr};
        m_pKeyboard = wl_seat_get_keyboard(connection.m_pSeat);
        wl_keyboard_add_listener(m_pKeyboard, &kKeyboardListener, this);
    }
}

// The decorations' shadow lies above the box and may be redrawn at the output's scale on any
// event, but is shown only with the box's next commit, which repaints the box's edges too
// (window.cpp says why).
void CMessageBox::RunModal()
{
    wl_display* pDisplay = TheConnection().m_pDisplay;
    while (!m_bDone) {
        CheckDisplayResult(wl_display_flush(pDisplay));
        const int nEvents = wl_display_dispatch(pDisplay);
        CheckDisplayResult(nEvents);
        if (nEvents > 0 && m_pBuffer != nullptr && !m_bDone)
            CommitWithEdges();
    }
}

void CMessageBox::CommitWithEdges()
{
    const int nWidth = m_nWidth * m_nScale;
    const int nHeight = m_nHeight * m_nScale;
    wl_surface_damage_buffer(m_pSurface, 0, 0, nWidth, m_nScale);
    wl_surface_damage_buffer(m_pSurface, 0, nHeight - m_nScale, nWidth, m_nScale);
    wl_surface_damage_buffer(m_pSurface, 0, 0, m_nScale, nHeight);
    wl_surface_damage_buffer(m_pSurface, nWidth - m_nScale, 0, m_nScale, nHeight);
    wl_surface_commit(m_pSurface);
}

}  // namespace

int ShowMessageBox(CNativeWindow* pOwner, const char* lpszText, const char* lpszCaption, UINT)
{
    if (!IsConnected() || TextLibrary() == nullptr)
        return IDOK;
    CMessageBox box(lpszText, lpszCaption, static_cast<CWaylandWindow*>(pOwner));
    box.RunModal();
    return IDOK;
}

}  // namespace wayland
