#pragma once
// Shared set-up of the platform's GUI tests: the form tests' fixture plus
// keys typed into any widget.

#include "platform/gui/forms.h"
#include "platform/gui/qtbridge.h"
#include "tests/support/formtest.h"

#include <QApplication>
#include <QKeyEvent>
#include <QWidget>
#include <gtest/gtest.h>

// The platform's own GUI tests add keys sent straight to any widget.
class GuiTest : public FormTest {
protected:
    // Sends a key press and release to a widget as the keyboard would.
    static void Key(QWidget* w, int key, Qt::KeyboardModifiers mods = Qt::NoModifier,
                    const QString& text = {}) {
        QKeyEvent press(QEvent::KeyPress, key, mods, text);
        QCoreApplication::sendEvent(w, &press);
        QKeyEvent release(QEvent::KeyRelease, key, mods, text);
        QCoreApplication::sendEvent(w, &release);
    }
};
