#include "support/SeamTest.h"

#include <QCoreApplication>
#include <QEvent>

void SeamTest::SetUp()
{
    previous_ = platform::setSeam(&seam);
}

void SeamTest::TearDown()
{
    seam.verifyNothingLeft();
    platform::forms().discardAll();
    settle();
    platform::setSeam(previous_);
}

void SeamTest::settle()
{
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    QCoreApplication::processEvents();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
}
