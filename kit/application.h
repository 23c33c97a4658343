// The application object: creates and owns the forms, runs the message loop
// and shows exceptions in the application's error box.
#pragma once

#include <windows.h>

#include <exception>
#include <memory>
#include <string>
#include <vector>

#include "kit/component.h"
#include "kit/exceptions.h"
#include "kit/form.h"

class TApplication {
public:
    TApplication() = default;
    ~TApplication();
    TApplication(const TApplication&) = delete;
    TApplication& operator=(const TApplication&) = delete;

    void Initialize();

    // Constructs a form of class T with this object as owner and then stores
    // it in `reference`; the first form created becomes the main form. If the
    // constructor raises, nothing is stored and the exception passes on.
    template <typename T>
    void CreateForm(T*& reference) {
        auto form = std::make_unique<T>(this);
        reference = form.get();
        Adopt(std::move(form));
    }

    // Shows the main form and handles messages until the application ends.
    void Run();
    // Handles every message already waiting, then returns.
    void ProcessMessages();
    // Waits for and handles one message; false once the application ends.
    bool HandleMessage();
    // Ends the message loop (the main form's Close does this).
    void Terminate();
    bool Terminated() const { return terminated_; }

    // The error box: the message with its closing period (WithClosingPeriod),
    // Title() as caption, the stop icon and an OK button.
    void ShowException(const Exception& e);
    // Runs an event handler; an exception it raises is shown and goes no
    // further.
    void Dispatch(const TNotifyEvent& handler, TObject* sender);

    // The executable's file name up to its first ".", the rest of it in
    // lower case: "SETUP.exe" gives "Setup".
    std::string Title() const;
    TForm* MainForm() const { return mainForm_; }

private:
    void Adopt(std::unique_ptr<TForm> form);
    bool IsOwnForm(HWND hwnd) const;
    void DispatchOne(MSG& msg);

    std::vector<std::unique_ptr<TForm>> forms_;
    TForm* mainForm_ = nullptr;
    bool terminated_ = false;
};

extern TApplication* const Application;
