// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QDialog>

#include <memory>

namespace Ui {
class TAbout;
}

// The about box: product, contact address, web page and maker, in labels that keep their
// text in every language; the two addresses open a new mail and the web page.
class TAbout : public QDialog
{
    Q_OBJECT

public:
    explicit TAbout(QWidget* parent = nullptr);
    ~TAbout() override;

private:
    void _lblMailClick();
    void _lblWWWClick();
    // A link the desktop refuses is logged.
    static void OpenLink(const QUrl& url);

    std::unique_ptr<Ui::TAbout> ui;
};
