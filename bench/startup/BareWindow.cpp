// SPDX-License-Identifier: GPL-3.0-or-later
// The yardstick of the start-up benchmark: the least a Qt program with a main window and a
// menu does before its window shows.
#include <QApplication>
#include <QMainWindow>
#include <QMenuBar>

int main(int argc, char** argv)
{
    QApplication application(argc, argv);
    QMainWindow window;
    QMenu* menu = window.menuBar()->addMenu(QStringLiteral("&File"));
    QObject::connect(menu->addAction(QStringLiteral("E&xit")), &QAction::triggered, &window, &QWidget::close);
    window.resize(640, 480);
    window.show();
    return QApplication::exec();
}
