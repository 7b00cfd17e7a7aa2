#include "archive/moltren.h"

#include "archive/about.h"
#include "archive/mainform.h"
#include "graphs/okcancl1.h"
#include "platform/gui/forms.h"

int WinMain() {
    try {
        Application->Initialize();
        Application->SetMainFormOnTaskBar(true);
        // The first form created is the main window.
        Application->CreateForm(MainForm);
        Application->CreateForm(AboutBox);
        Application->CreateForm(GraphSettings);
        Application->Run();
    } catch (const Exception& e) {
        Application->ShowException(e);
    } catch (...) {
        // Anything else shows as an exception without a message.
        Application->ShowException(Exception());
    }
    return 0;
}
