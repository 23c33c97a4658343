// Unit1: the main window, TForm1 — banner, start and exit buttons — and the
// module state the updater shares: the install directory and the forms.
#pragma once

#include <string>

#include "kit/form.h"

class TForm1 : public TForm {
public:
    explicit TForm1(TApplication* owner);

    TImage* Image1 = nullptr;
    TButton* Button1 = nullptr;  // start the update
    TButton* Button3 = nullptr;  // exit
    TButton* Button4 = nullptr;  // change the destination; hidden, never shown

    void FormCreate(TObject* Sender);
    void FormShow(TObject* Sender);
    void Button1Click(TObject* Sender);
    void Button3Click(TObject* Sender);
    void Button4Click(TObject* Sender);

    void PaintBanner();
    // Decodes the payload resource into the target file (see engine/extract.h).
    bool ExtractPayload(std::string resourceName, std::string targetPath);
};

extern TForm1* Form1;
// The game's install directory with its trailing backslash; empty while
// none is known.
extern std::string InstallDir;

namespace msg {
inline constexpr const char* kUpdateDone = "アップデート完了しました";
inline constexpr const char* kNoInstallDir = "インストール先フォルダを特定できません";
}  // namespace msg
