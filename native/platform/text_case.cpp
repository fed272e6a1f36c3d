// Case without the system's tables: the C library's Unicode ones (the
// C.UTF-8 locale's, whatever the process's own locale is), unit by unit.
#include "common/text_case.h"

#include <locale.h>
#include <wctype.h>

namespace text {

namespace {

locale_t UnicodeLocale() noexcept {
    static const locale_t locale = ::newlocale(LC_CTYPE_MASK, "C.UTF-8", nullptr);
    return locale;
}

wint_t Upper(wchar_t c) noexcept {
    const locale_t locale = UnicodeLocale();
    return locale ? ::towupper_l(static_cast<wint_t>(c), locale)
                  : ::towupper(static_cast<wint_t>(c));
}

wchar_t Lower(wchar_t c) noexcept {
    const locale_t locale = UnicodeLocale();
    return static_cast<wchar_t>(locale ? ::towlower_l(static_cast<wint_t>(c), locale)
                                       : ::towlower(static_cast<wint_t>(c)));
}

} // namespace

bool EqualIgnoringCase(std::wstring_view a, std::wstring_view b) noexcept {
    if (a.size() != b.size())
        return false;
    for (size_t i = 0; i < a.size(); ++i) {
        if (Upper(a[i]) != Upper(b[i]))
            return false;
    }
    return true;
}

bool StartsWithIgnoringCase(std::wstring_view text, std::wstring_view prefix) noexcept {
    return prefix.size() <= text.size() && EqualIgnoringCase(text.substr(0, prefix.size()), prefix);
}

std::wstring LowerCase(std::wstring_view text) {
    std::wstring lower(text);
    for (wchar_t& c : lower)
        c = Lower(c);
    return lower;
}

} // namespace text
