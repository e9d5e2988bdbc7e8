#include "app/qtfiledialog.h"

void QtFileDialog::ShowOpen()
{
}

void QtFileDialog::ShowSave()
{
}
