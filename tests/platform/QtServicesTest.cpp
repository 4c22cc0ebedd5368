// The real message box returns however the user dismisses it.
#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QApplication>
#include <QKeyEvent>
#include <QMessageBox>
#include <QPrinterInfo>
#include <QTimer>

#include "platform/QtServices.h"

using platform::QtMessage;

namespace {

// Dismisses the message box that is about to open, the way a user would.
void dismissNextBox(const std::function<void(QWidget*)>& how) {
    QTimer::singleShot(0, [how] {
        QWidget* box = QApplication::activeModalWidget();
        ASSERT_NE(box, nullptr);
        how(box);
    });
}

}  // namespace

TEST(QtMessageTest, OkEscapeAndTheCloseBoxAllDismissTheBox) {
    QWidget* owner = nullptr;
    QtMessage message(owner);
    int returned = 0;

    dismissNextBox([](QWidget* box) {
        auto* messageBox = qobject_cast<QMessageBox*>(box);
        ASSERT_NE(messageBox, nullptr);
        EXPECT_EQ(messageBox->windowTitle(), QString::fromUtf8("Пятнушки"));
        EXPECT_EQ(messageBox->buttons().size(), 1);
        messageBox->buttons().first()->click();
    });
    message.message("один");
    ++returned;

    dismissNextBox([](QWidget* box) {
        QKeyEvent escape(QEvent::KeyPress, Qt::Key_Escape, Qt::NoModifier);
        QApplication::sendEvent(box, &escape);
    });
    message.message("два");
    ++returned;

    dismissNextBox([](QWidget* box) { box->close(); });
    message.message("три");
    ++returned;

    EXPECT_EQ(returned, 3);
}

TEST(QtPrinterTest, WithoutADefaultPrinterTheSheetIsRefusedWithAReason) {
    if (!QPrinterInfo::defaultPrinter().isNull()) GTEST_SKIP() << "this machine has a default printer";
    platform::QtPrinter printer;
    QImage sheet(64, 48, QImage::Format_RGB32);
    sheet.fill(Qt::white);
    const auto error = printer.printSheet(sheet);
    ASSERT_TRUE(error.has_value());
    EXPECT_NE(error->find("принтер"), std::string::npos) << *error;
}
