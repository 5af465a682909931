#pragma once
// Types text into a widget key by key, the way the keyboard delivers it. QTest::keyClicks knows
// only Latin-1; an accented letter or an emoji arrives as one key press carrying its text.
#include <QtTest>

inline void Digitar(QWidget* w, const QString& texto)
{
    for (const char32_t c : texto.toUcs4()) {
        if (c >= 0x20 && c < 0x7F)
            QTest::keyClick(w, char(c));
        else
            QTest::sendKeyEvent(QTest::Click, w, Qt::Key_unknown, QString::fromUcs4(&c, 1), Qt::NoModifier);
    }
}
