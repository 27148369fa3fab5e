// Escaping of echoed text, so that an argument such as "\e]0;title\a" is shown, not obeyed.
#include "printable.h"

namespace portable {

namespace {

const unsigned char kFirstPrintable = 0x20;
const unsigned char kDelete = 0x7F;
// The first code point after the C1 controls (U+0080 to U+009F).
const unsigned kFirstPrintableBeyondAscii = 0xA0;
const unsigned kLastCodePoint = 0x10FFFF;
const unsigned kFirstSurrogate = 0xD800;
const unsigned kLastSurrogate = 0xDFFF;

struct Utf8Lead {
    unsigned char m_nMask;      // the bits that identify the lead byte
    unsigned char m_nPattern;   // their value
    int m_nContinuations;
    unsigned m_nSmallest;       // the smallest code point this length may carry
};

const Utf8Lead kLeads[] = {
    {0xE0, 0xC0, 1, 0x80},
    {0xF0, 0xE0, 2, 0x800},
    {0xF8, 0xF0, 3, 0x10000},
};

bool IsContinuation(unsigned char c)
{
    return (c & 0xC0) == 0x80;
}

// The length of the well-formed, printable UTF-8 sequence starting at p, or 0.
int PrintableSequenceLength(const unsigned char* p)
{
    for (const Utf8Lead& lead : kLeads) {
        if ((p[0] & lead.m_nMask) != lead.m_nPattern)
            continue;
        unsigned nCodePoint = p[0] & static_cast<unsigned char>(~lead.m_nMask);
        for (int i = 1; i <= lead.m_nContinuations; ++i) {
            // The terminating NUL is not a continuation byte, so this never reads past it.
            if (!IsContinuation(p[i]))
                return 0;
            nCodePoint = (nCodePoint << 6) | (p[i] & 0x3Fu);
        }
        const bool bWellFormed = nCodePoint >= lead.m_nSmallest && nCodePoint <= kLastCodePoint &&
                                 (nCodePoint < kFirstSurrogate || nCodePoint > kLastSurrogate);
        return bWellFormed && nCodePoint >= kFirstPrintableBeyondAscii ? lead.m_nContinuations + 1
                                                                       : 0;
    }
    return 0;
}

void AppendEscaped(std::string* pText, unsigned char c)
{
    static const char kHex[] = "0123456789abcdef";
    *pText += "\\x";
    *pText += kHex[c >> 4];
    *pText += kHex[c & 0xF];
}

}  // namespace

std::string PrintableText(const char* lpszText)
{
    std::string text;
    const unsigned char* p = reinterpret_cast<const unsigned char*>(lpszText);
    while (*p != '\0') {
        if (*p == '\\') {
            text += "\\\\";
            ++p;
        } else if (*p >= kFirstPrintable && *p < kDelete) {
            text += static_cast<char>(*p++);
        } else if (const int nLength = PrintableSequenceLength(p)) {
            text.append(reinterpret_cast<const char*>(p), static_cast<size_t>(nLength));
            p += nLength;
        } else {
            AppendEscaped(&text, *p++);
        }
    }
    return text;
}

}  // namespace portable
