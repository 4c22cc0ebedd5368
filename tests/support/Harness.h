#pragma once
// A desktop with fake services, for driving windows headlessly.
#include <QCoreApplication>
#include <QGraphicsProxyWidget>
#include <QWidget>

#include "platform/Desktop.h"
#include "platform/Form.h"
#include "platform/fakes/Fakes.h"
#include "tests/support/PrivateHome.h"

namespace testing_support {

struct Harness {
    PrivateHome home;  // first: the windows find their folders there
    platform::fakes::FakeServices fakes;
    platform::Desktop desktop{fakes.services()};

    // Lets deferred work (repaints, destruction of unloaded windows) happen.
    static void settle() { QCoreApplication::processEvents(); }
};

// How far forward a loaded window stands on the stage.
inline double zOrder(const platform::Form& form) {
    QWidget* client = form.clientWidget();
    return client ? client->parentWidget()->graphicsProxyWidget()->zValue() : -1;
}

}  // namespace testing_support
