// The e-mail page: the template's text with the picture's address in place
// of every placeholder, and that address, a file URL.
#pragma once

#include <string>
#include <string_view>

// What the template says where the picture's address goes.
inline constexpr std::wstring_view kScreenshotPlaceholder = L"$$$SCREENSHOT_PATH$$$";

// "file:///" + the path with forward slashes, percent-encoded as UTF-8 where a
// character has no place in a URL's path: C:\Temp\a #1.jpg gives
// file:///C:/Temp/a%20%231.jpg. A unit that is no character (a surrogate
// without its other half; natively, a value past U+10FFFF) reads as U+FFFD,
// as the system's conversion reads it.
std::wstring PictureFileUrl(std::wstring_view path);

// The text with & < > " and ' written as HTML character references.
std::wstring HtmlEscape(std::wstring_view text);

// The template with every placeholder replaced by the address, escaped for
// HTML (the template puts it in attributes and text alike). Placeholders are
// found from the left, each after the one before; the address is never
// searched.
std::wstring FillEmailPage(std::wstring_view templateText, std::wstring_view pictureUrl);
