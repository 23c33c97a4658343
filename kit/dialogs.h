// MessageDlg: the information box of the application.
#pragma once

#include <initializer_list>
#include <string>

enum TMsgDlgType { mtInformation };
enum TMsgDlgBtn { mbOK };

// Shows `text` in a modal box centred on the screen: for mtInformation the
// caption "情報" and the information icon; the one button "OK" is both the
// default and the cancel button, so Enter and Esc press it too. Returns the
// modal result of the button pressed (mrOk). Only the type and button set
// the updater uses are supported; helpContext is accepted and unused.
int MessageDlg(const std::string& text, TMsgDlgType type, std::initializer_list<TMsgDlgBtn> buttons,
               int helpContext);
