// What the main window does with the annotated picture: the clipboard, a
// file, an upload, an e-mail.
#include "app/lumvex_dlg.h"

#include "framework/system_library.h"
#include "mail/email_sender.h"
#include "mail/mail_client.h"
#include "mail/screenshot_email.h"
#include "upload/app_settings.h"
#include "upload/dlg_upload.h"

#include <commdlg.h>

namespace {

constexpr wchar_t kNotSaved[] = L"The screenshot could not be saved.";
constexpr wchar_t kTransferFailed[] = L"There was a problem while uploading. Transfer failed!";

// The stream's size; 0 when it cannot tell.
ULONGLONG StreamSize(IStream* stream) {
    STATSTG stat{};
    return SUCCEEDED(stream->Stat(&stat, STATFLAG_NONAME)) ? stat.cbSize.QuadPart : 0;
}

} // namespace

void CLumvexDlg::ShowError(const wchar_t* text) {
    ::MessageBoxW(Hwnd(), text, L"Error", MB_ICONERROR);
}

void CLumvexDlg::CopyToClipboard() {
    fw::GdiBitmap picture = m_canvas.GetFlattenedBitmap();
    if (picture && ::OpenClipboard(Hwnd())) {
        if (::EmptyClipboard() && ::SetClipboardData(CF_BITMAP, picture.get()))
            picture.release(); // the clipboard owns it now
        ::CloseClipboard();
    }
    ::MessageBeep(0);
}

void CLumvexDlg::OnSaveToDisk() {
    // Before the dialog takes the keyboard: the text box goes into the
    // picture, and the keyboard comes back to the picture, not to a hidden
    // editor.
    m_canvas.EndEditAll();
    wchar_t path[MAX_PATH] = L"*.jpg";
    OPENFILENAMEW dialog{};
    dialog.lStructSize = sizeof(dialog);
    dialog.hwndOwner = Hwnd();
    dialog.lpstrFilter = L"Image Files (*.jpg)\0*.jpg\0\0";
    dialog.lpstrFile = path;
    dialog.nMaxFile = MAX_PATH;
    dialog.lpstrDefExt = L"jpg";
    dialog.Flags = OFN_HIDEREADONLY | OFN_OVERWRITEPROMPT;
    const fw::CommonDialogApi* dialogs = fw::CommonDialogs();
    if (!dialogs) {
        ShowError(kNotSaved);
        return;
    }
    if (!dialogs->GetSaveFileNameW(&dialog))
        return;
    SaveScreenshotTo(path);
}

bool CLumvexDlg::SaveScreenshotTo(const std::wstring& path) {
    if (m_canvas.SaveJpegToFile(path.c_str()))
        return true;
    // Never let the user believe a picture was saved when it was not.
    ShowError(kNotSaved);
    return false;
}

void CLumvexDlg::UploadScreenshot() {
    fw::Stream picture;
    if (FAILED(::CreateStreamOnHGlobal(nullptr, TRUE, picture.put())))
        return;
    // Nothing is sent without a picture.
    if (!m_canvas.SaveJpegToStream(picture.get()) || StreamSize(picture.get()) == 0 ||
        FAILED(picture.get()->Seek(LARGE_INTEGER{}, STREAM_SEEK_SET, nullptr))) {
        ShowError(kTransferFailed);
        return;
    }
    const int mode = m_sendRequest.IsCreateChecked() ? 0 : 1;
    // Owned by this window, which stays disabled meanwhile: nothing here can
    // start a second upload or change the settings the worker reads.
    CDlgUpload upload(picture.get(), mode, m_sendRequest.WorkOrderText(), m_settings);
    switch (upload.DoModal(Hwnd())) {
    case IDOK:
        ::ShowWindow(Hwnd(), SW_HIDE);
        break;
    case IDABORT:
        break;
    default: {
        // The cause on a line of its own, when there is one the user can act on.
        std::wstring text = kTransferFailed;
        if (const std::wstring cause = upload.FailureCause(); !cause.empty())
            text += L"\n" + cause;
        ShowError(text.c_str());
        break;
    }
    }
}

void CLumvexDlg::SendScreenshotByEmail() {
    const auto email =
        WriteScreenshotEmail(m_settings.programFolder,
                             [this](const std::wstring& path) { return SaveScreenshotTo(path); });
    if (!email)
        return;
    // Listed before the mail program opens: the user may keep its compose
    // window open for as long as they like, and whatever ends the program
    // meanwhile still finds the files.
    m_tempFiles.push_back(email->page);
    m_tempFiles.push_back(email->picture);
    CEmailSender sender;
    if (!sender.Send(L"", email->page, email->picture))
        ShowError(L"The e-mail could not be handed to the mail program.");
}

void CLumvexDlg::OnSendEmail() {
    SendScreenshotByEmail();
}

void CLumvexDlg::DeleteTemporaryFiles() {
    while (!m_tempFiles.empty()) {
        ::DeleteFileW(m_tempFiles.front().c_str());
        m_tempFiles.erase(m_tempFiles.begin());
    }
}

void CLumvexDlg::SendEmailFromKeyboard() {
    // Ctrl+E sends only with a mail program whose sending it supports.
    if (IsOutlookMailClient(GetDefaultMailClient()))
        OnSendEmail();
}
