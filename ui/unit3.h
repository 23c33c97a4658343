// Unit3: the notice dialog, TForm3, shown when no install directory is known.
#pragma once

#include "kit/form.h"

class TForm3 : public TForm {
public:
    explicit TForm3(TApplication* owner);

    TLabel* Label1 = nullptr;
    TLabel* Label2 = nullptr;
    TButton* Button2 = nullptr;  // "specify the destination": hidden, no action
    TButton* Button3 = nullptr;  // exit
    TLabel* Label6 = nullptr;    // empty, below the client area

    void FormShow(TObject* Sender);
    void Button3Click(TObject* Sender);
};

extern TForm3* Form3;
