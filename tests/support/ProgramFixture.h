#pragma once

#include "tests/support/TempDir.h"

#include <QCoreApplication>

#include <gtest/gtest.h>

#include <string>

namespace sorvella::test {

// For tests that run the program as a process: Qt's event machinery for
// QProcess, a private temporary directory for the program (its TMPDIR), a
// folder for its targets and what it last wrote to standard error.
class ProgramFixture : public ::testing::Test {
protected:
    int argc = 1;
    char name[16] = "sorvella-tests";
    char* argv[2] = {name, nullptr};
    QCoreApplication qt{argc, argv};
    TempDir temporary{"program-tmp"};
    TempDir target{"target"};
    std::string errors;
};

} // namespace sorvella::test
