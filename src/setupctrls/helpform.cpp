#include "setupctrls/helpform.h"

#include "classlib/application.h"
#include "setupctrls/boardimage.h"

void THelpForm::StartButtonClick(TObject*) {
    Hide();
    TForm* main = Application->MainForm();
    if (!main) return;
    for (int i = 0; i < main->ControlCount(); ++i)
        if (auto* board = dynamic_cast<TBoardImage*>(main->Controls(i))) {
            board->Perform(WM_SHOWFIRST, 0, 0);
            return;
        }
}
