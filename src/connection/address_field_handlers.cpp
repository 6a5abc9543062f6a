// The server address field.
#include "app/tform1.h"

#include "connection/list/address_field.h"

#include <QLineEdit>
#include <QTimer>

void TForm1::SrvAdressEnter() {
    Timer1->stop();
}

void TForm1::SrvAdressExit() {
    if (SrvAdress->text().isEmpty()) {
        SrvAdress->setText(ServerAddress);
        return;
    }
    const qb::connection::AddressCleanUp cleaned =
        qb::connection::cleanAddressOnExit(SrvAdress->text());
    if (cleaned.changed) {
        SrvAdress->setText(cleaned.text);
        SrvAdress->end(false);
    }
    Timer1->start();
}

void TForm1::SrvAdressKeyDown(int key) {
    if ((key != Qt::Key_Return && key != Qt::Key_Enter) || SrvAdress->text().isEmpty()) {
        return;
    }
    Edit1->setFocus(Qt::OtherFocusReason); // leaving the field cleans up the address
    ConnectButtonClick();
}
