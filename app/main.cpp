#include "app/CommandLine.h"
#include "app/RecordCommand.h"
#include "app/Startup.h"
#include "app/VerifyCommand.h"

#include <QApplication>

#include <filesystem>
#include <iostream>

int main(int argc, char* argv[]) {
    const orbeta::CommandLine commandLine =
        orbeta::ReadCommandLine({argv + 1, argv + argc}, ORBETA_VERSION);
    switch (commandLine.action) {
    case orbeta::CommandLine::Action::Help:
    case orbeta::CommandLine::Action::Version:
        std::cout << commandLine.line << '\n';
        return std::cout.flush() ? 0 : 1;
    case orbeta::CommandLine::Action::WrongUsage:
        std::cerr << commandLine.line << '\n';
        return 2;
    case orbeta::CommandLine::Action::Record:
        return orbeta::WriteRecord(commandLine.record, argv[0], ORBETA_VERSION);
    case orbeta::CommandLine::Action::Verify:
        return orbeta::VerifyInstallationCommand(commandLine.verifyPdf, argv[0]);
    case orbeta::CommandLine::Action::Run:
        break;
    }

    // Qt reads nothing from the command line: it is given the program's name alone.
    int qtArgumentCount = 1;
    QApplication application(qtArgumentCount, argv);
    orbeta::ConfigureApplication(application);
    orbeta::Program program(orbeta::RecoveryFolderOfUser());
    // The name's bytes as given: a name that is not valid UTF-8 still names its file.
    program.Start(std::filesystem::path(commandLine.studyFile));
    return QApplication::exec();
}
