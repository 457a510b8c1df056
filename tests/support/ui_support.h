#pragma once

#include <QString>
#include <QTest>
#include <QWidget>

namespace testing_support {

// Types text as key presses, Chinese included (QTest::keyClicks takes ASCII only).
inline void typeText(QWidget* widget, const QString& text)
{
    for (const QChar c : text)
        QTest::sendKeyEvent(QTest::Click, widget, Qt::Key_unknown, QString(c), Qt::NoModifier);
}

} // namespace testing_support
