// Lists and series: handlers still to be filled in.
// Each handler is wired to its event already and does nothing yet.
#include "app/tform1.h"

void TForm1::N23Click() {}

void TForm1::N24Click() {}

void TForm1::N25Click() {}

void TForm1::update1Click() {}

void TForm1::UpdateTimer1Timer() {}

void TForm1::CheckSerialsTHExecute(qb::app::JobThread&) {}
