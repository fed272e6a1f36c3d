// Hands a message to the user's mail program through Simple MAPI, with the
// program's compose window shown so that the user adds the recipients and
// sends.
#pragma once

#include <windows.h>

#include <string>

class CEmailSender {
public:
    CEmailSender() = default;
    virtual ~CEmailSender() = default;
    CEmailSender(const CEmailSender&) = delete;
    CEmailSender& operator=(const CEmailSender&) = delete;

    // Opens the compose window and returns when the user has sent or
    // discarded the message. Mail programs in general get the page and then
    // the picture as attachments; Thunderbird gets the page's text as the
    // message body. The mail library is loaded for this one call. False when
    // the message could not be handed to the mail program: no mail library,
    // no send function in it, or a failure other than the user cancelling.
    bool Send(const std::wstring& subject, const std::wstring& pagePath,
              const std::wstring& picturePath);

private:
    // The compose window's owner: none, so that it is a window of its own
    // and does not hold up ours.
    HWND m_parent = nullptr;
};
