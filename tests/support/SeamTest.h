#pragma once

#include "support/ScriptedSeam.h"

#include "platform/forms/FormRegistry.h"

#include <gtest/gtest.h>

// Base of every test that touches windows or the seam: installs a scripted seam, and at the end fails on
// answers left over, throws away every window and restores the seam.
class SeamTest : public ::testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;

    // The window of class T, loaded (Form_Initialize and Form_Load run on first use).
    template <class T>
    T& load()
    {
        return platform::forms().get<T>();
    }
    // Processes posted events: deferred deletes, queued signals.
    static void settle();

    ScriptedSeam seam;

private:
    platform::Seam* previous_ = nullptr;
};

// Test messages show texts as texts.
inline void PrintTo(const QString& s, std::ostream* os)
{
    *os << '"' << s.toStdString() << '"';
}
