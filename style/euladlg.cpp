#include "euladlg.h"

#include <QPlainTextEdit>
#include <QPushButton>

namespace {

// UTF-8, one paragraph per line; the lines are joined with CR LF.
const char agreement[] = u8R"(END-USER LICENCE AGREEMENT FOR LUMARO NUMEROLOGY

Please read this agreement carefully before you use the program. By pressing "Accept" you agree to be bound by its terms. If you do not agree, press "Reject": the program will close and will not be installed for use.

1. Licence. The author of Lumaro Numerology ("the Licensor") grants you a personal, non-exclusive and non-transferable licence to install and use one copy of the program on the computers that you own or control, for your own private or professional numerology work. You may keep one further copy for backup purposes only.

2. Restrictions. You may not rent, lease, lend, sell or sublicense the program, nor distribute copies of it to third parties. You may not remove or alter any notice of authorship. Except where the law expressly allows it, you may not decompile, disassemble or otherwise reverse engineer the program.

3. Your content. Names, dates, reports, layouts and chart templates that you create with the program belong to you. You may print, publish and share the reports you produce, also with your clients, provided you do not present the program itself as your own work.

4. Nature of the readings. The program computes numbers from names and dates by the traditional rules of numerology and assembles readings from prepared texts. The readings are offered for personal reflection and entertainment. They are not medical, legal, financial or psychological advice, and no decision of importance should rest on them alone.

5. Updates. The program may ask the Licensor's server once a week whether a newer version exists. Only the request itself is sent; no personal data, names or dates leave your computer. Installing an update is always your own choice.

6. No warranty. The program is provided "as is", without warranty of any kind, either express or implied, including the implied warranties of merchantability and fitness for a particular purpose. The Licensor does not warrant that the program will be free of errors or that it will run without interruption.

7. Limitation of liability. To the fullest extent permitted by law, the Licensor shall not be liable for any damages whatsoever, including lost profits, lost data or business interruption, arising out of the use of or the inability to use the program, even if advised of the possibility of such damages.

8. Termination. This licence ends automatically if you fail to comply with any of its terms. On termination you must stop using the program and delete every copy of it.

9. Entire agreement. This agreement is the whole agreement between you and the Licensor about the program. If any part of it is held to be unenforceable, the remaining parts stay in force.

Copyright (c) the author of Lumaro Numerology. All rights reserved.)";

} // namespace

CEulaDlg::CEulaDlg(QWidget *parent)
    : QDialog(parent)
{
    setMinimumSize(400, 400);
    setMaximumSize(400, 400);
    resize(400, 400);

    acceptButton = new QPushButton(QStringLiteral("Accept"), this);
    acceptButton->resize(80, 20);
    acceptButton->setStyleSheet(QStringLiteral("color: black;"));
    connect(acceptButton, &QPushButton::clicked, this, &CEulaDlg::OnOk);
    rejectButton = new QPushButton(QStringLiteral("Reject"), this);
    rejectButton->resize(80, 20);
    connect(rejectButton, &QPushButton::clicked, this, &CEulaDlg::OnCancel);

    textField = new QPlainTextEdit(this);
    textField->setReadOnly(true);
    textField->setPlainText(agreementText());
    textField->move(10, 10);
    textField->resize(width() - 20, height() - 50);

    acceptButton->move(width() / 2 - 90, height() - 30);
    rejectButton->move(width() / 2 + 10, height() - 30);
}

QString CEulaDlg::agreementText()
{
    return QString::fromUtf8(agreement).split(QLatin1Char('\n')).join(QStringLiteral("\r\n"));
}

void CEulaDlg::OnOk()
{
    result = 0;
    accept();
}

void CEulaDlg::OnCancel()
{
    reject();
}
