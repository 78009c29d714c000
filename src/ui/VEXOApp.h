// The application object: it starts the tool by running the main dialog
// modally and lets the process end when the dialog closes.
#pragma once

#include "platform/classlib/afx.h"

class CVEXOApp : public CWinApp {
public:
    CVEXOApp();
    ~CVEXOApp() override = default;

    BOOL InitInstance() override;

    DECLARE_MESSAGE_MAP()
};

extern CVEXOApp theApp;
