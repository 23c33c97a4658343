// The main window: centring and the first lookup at creation; banner and the
// missing-directory path at show; the update on the start button.
#include "ui/unit1.h"

#include "engine/extract.h"
#include "engine/install_dir.h"
#include "kit/application.h"
#include "kit/dialogs.h"
#include "kit/message_box.h"
#include "kit/screen.h"
#include "ui/unit3.h"

TForm1* Form1 = nullptr;
std::string InstallDir;

namespace {

struct BannerLine {
    int y;
    const char* text;
};
// The fourth line stands apart from the third by an 80-pixel gap.
constexpr BannerLine kBannerLines[] = {
    {10, "『ペトラミナ』を"},
    {30, "お買い求めいただき、まことにありがとうございます。"},
    {50, "このプログラムは、Windows Vista に暫定対応するためのパッチです。"},
    {130, "[アップデート開始] ボタンで自動的にアップデートを開始します。"},
};

}  // namespace

TForm1::TForm1(TApplication* owner) : TForm(owner) {
    LoadFromResource("TFORM1",
                     {Field("Image1", Image1), Field("Button1", Button1), Field("Button3", Button3),
                      Field("Button4", Button4)},
                     {{"FormCreate", [this](TObject* s) { FormCreate(s); }},
                      {"FormShow", [this](TObject* s) { FormShow(s); }},
                      {"Button1Click", [this](TObject* s) { Button1Click(s); }},
                      {"Button3Click", [this](TObject* s) { Button3Click(s); }},
                      {"Button4Click", [this](TObject* s) { Button4Click(s); }}});
}

void TForm1::FormCreate(TObject*) {
    SetLeft(CentredOffset(Screen->Width(), Width()));
    SetTop(CentredOffset(Screen->Height(), Height()));
    InstallDir = ReadInstallDir();
}

void TForm1::FormShow(TObject*) {
    PaintBanner();
    if (InstallDir.empty()) {
        Form3->ShowModal();
        InstallDir = ReadInstallDir();
        if (InstallDir.empty()) Close();
    }
}

void TForm1::PaintBanner() {
    TCanvas* canvas = Image1->Canvas();
    const int h = Image1->Height();
    const int w = Image1->Width();
    canvas->Brush.Style = bsSolid;
    for (int i = 0; i < h; ++i) {
        int b = ((h - i) * 255) / h;
        canvas->Brush.Color = static_cast<TColor>(b) << 16;
        canvas->FillRect(RECT{0, i, w, i + 1});
    }
    canvas->Brush.Style = bsClear;
    canvas->Font.Height = 16;
    canvas->Font.Color = clWhite;
    for (const auto& line : kBannerLines) canvas->TextOut(10, line.y, line.text);
}

void TForm1::Button1Click(TObject*) {
    Button1->SetEnabled(false);
    Button4->SetEnabled(false);
    Button3->SetEnabled(false);
    Application->ProcessMessages();
    // Without a known directory the target would be a bare "OVAK.EXE" in
    // whatever the current directory is: refuse rather than write there.
    if (InstallDir.empty()) throw Exception(msg::kNoInstallDir);
    ExtractPayload("EXE", InstallDir + "OVAK.EXE");
    MessageDlg(msg::kUpdateDone, mtInformation, {mbOK}, 0);
    Close();
}

void TForm1::Button3Click(TObject*) { Close(); }

void TForm1::Button4Click(TObject*) { Form3->ShowModal(); }

bool TForm1::ExtractPayload(std::string resourceName, std::string targetPath) {
    return ::ExtractPayload(std::move(resourceName), std::move(targetPath));
}
