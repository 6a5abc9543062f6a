// The server address field.
#include "app/tform1.h"
#include "connection/connection.h"

#include "connection/list/address_field.h"

#include <QLineEdit>
#include <QTimer>

using qb::connection::Connection;

void Connection::SrvAdressEnter() {
    Form.Timer1->stop();
}

void Connection::SrvAdressExit() {
    if (Form.SrvAdress->text().isEmpty()) {
        Form.SrvAdress->setText(ServerAddress);
        return;
    }
    const qb::connection::AddressCleanUp cleaned =
        qb::connection::cleanAddressOnExit(Form.SrvAdress->text());
    if (cleaned.changed) {
        Form.SrvAdress->setText(cleaned.text);
        Form.SrvAdress->end(false);
    }
    Form.Timer1->start();
}

void Connection::SrvAdressKeyDown(int key) {
    if ((key != Qt::Key_Return && key != Qt::Key_Enter) || Form.SrvAdress->text().isEmpty()) {
        return;
    }
    Form.Edit1->setFocus(Qt::OtherFocusReason); // leaving the field cleans up the address
    ConnectButtonClick();
}
