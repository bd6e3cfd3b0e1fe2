#pragma once
#include <QApplication>
#include <QTest>
#include <QWidget>

// Tab on a control of a shown window moves the focus on to the next control.
inline bool tabLeaves(QWidget& window, QWidget& control)
{
    window.show();
    QApplication::setActiveWindow(&window);
    control.setFocus();
    QTest::keyClick(&control, Qt::Key_Tab);
    return QApplication::focusWidget() != &control;
}
