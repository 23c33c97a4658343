// MessageDlg over the system message box.
#include "kit/dialogs.h"

#include "kit/component.h"
#include "kit/message_box.h"

int MessageDlg(const std::string& text, TMsgDlgType, std::initializer_list<TMsgDlgBtn>, int) {
    ShowMessageBox(text, "情報", MB_OK | MB_ICONINFORMATION);
    return mrOk;
}
