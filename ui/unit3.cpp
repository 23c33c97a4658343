// The notice dialog: centres itself at every showing and closes on its
// exit button or its title bar.
#include "ui/unit3.h"

#include "kit/message_box.h"
#include "kit/screen.h"

TForm3* Form3 = nullptr;

TForm3::TForm3(TApplication* owner) : TForm(owner) {
    LoadFromResource("TFORM3",
                     {Field("Label1", Label1), Field("Label2", Label2), Field("Button2", Button2),
                      Field("Button3", Button3), Field("Label6", Label6)},
                     {{"FormShow", [this](TObject* s) { FormShow(s); }},
                      {"Button3Click", [this](TObject* s) { Button3Click(s); }}});
}

void TForm3::FormShow(TObject*) {
    SetLeft(CentredOffset(Screen->Width(), Width()));
    SetTop(CentredOffset(Screen->Height(), Height()));
}

void TForm3::Button3Click(TObject*) { Close(); }
