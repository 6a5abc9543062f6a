// Release information: handlers still to be filled in.
// Each handler is wired to its event already and does nothing yet.
#include "app/tform1.h"

void TForm1::ShowReleaseInfo(const QString&) {}
