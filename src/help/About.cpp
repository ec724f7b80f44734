// SPDX-License-Identifier: GPL-3.0-or-later
#include "help/About.h"

#include "ui_About.h"

#include "lang/Lang.h"
#include "log/Log.h"
#include "log/Version.h"
#include "platform/Desktop.h"

#include <QUrlQuery>

TAbout::TAbout(QWidget* parent) : QDialog(parent), ui(std::make_unique<Ui::TAbout>())
{
    ui->setupUi(this);
    ui->_lblVersion->setText(VersionText().trimmed() + QStringLiteral(" (") + BuildDateText() +
                             QLatin1Char(')'));
    connect(ui->_lblMail, &TLinkLabel::clicked, this, &TAbout::_lblMailClick);
    connect(ui->_lblWWW, &TLinkLabel::clicked, this, &TAbout::_lblWWWClick);
    connect(ui->_lblLicence, &TLinkLabel::clicked, this, [this] { OpenLink(QUrl(ui->_lblLicence->text())); });
    connect(ui->OkButton, &QPushButton::clicked, this, &QDialog::accept);
    // Enter closes the box; it would write a mail if the first address label had the focus.
    ui->OkButton->setFocus();
    gLang.AddForm(this);
}

TAbout::~TAbout() = default;

void TAbout::_lblMailClick()
{
    QUrlQuery subject;
    subject.addQueryItem(QStringLiteral("subject"), ui->_lblProduct->text() + QLatin1Char(' ') +
                                                        gLang.GetString(QStringLiteral("StrRemarks"), this));
    QUrl mail;
    mail.setScheme(QStringLiteral("mailto"));
    mail.setPath(ui->_lblMail->text());
    mail.setQuery(subject);
    OpenLink(mail);
}

void TAbout::_lblWWWClick()
{
    OpenLink(QUrl(ui->_lblWWW->text()));
}

void TAbout::OpenLink(const QUrl& url)
{
    if (!TDesktop::OpenUrl(url))
        LOG_AT(QStringLiteral("[Desktop] could not open ") + url.toString());
}
