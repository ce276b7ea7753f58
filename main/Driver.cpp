#include "Driver.h"

#include <cstdint>
#include <iostream>
#include <sstream>
#include <string>
#include <vector>

#include "Errors/ErrorLog.h"
#include "Errors/Exceptions.h"
#include "Item.h"
#include "ItemCollection.h"
#include "Platform/Keyboard.h"
#include "Platform/Paths.h"
#include "Search.h"
#include "SearchReports.h"
#include "SizeFormatter.h"
#include "Text/ConsoleText.h"
#include "Usage.h"
#include "VolumeParser.h"

namespace Vantorel {
namespace {

constexpr char kKeyPrompt[] = "\nPress any Key...\n";

// Shows the key prompt when it goes out of scope, throws away the keys pressed before it, and waits
// for one new key. Being a scope guard, it also runs when a failure escapes the error log.
class TPressAnyKey {
  public:
    explicit TPressAnyKey(const char* prompt) : Prompt(prompt) {}
    ~TPressAnyKey() {
        // Plain ASCII: written directly, and flushed so that it shows before the wait.
        std::cout << Prompt << std::flush;
        // One key mode for the drain and the wait, so that no key is split between the two.
        const Kvetra::Platform::TKeyInputMode keyMode;
        while (Kvetra::Platform::_kbhit() != 0) {
            Kvetra::Platform::_getch();
        }
        Kvetra::Platform::_getch();
    }
    TPressAnyKey(const TPressAnyKey&) = delete;
    TPressAnyKey& operator=(const TPressAnyKey&) = delete;

  private:
    const char* Prompt;
};

// The prefix that tells apart the items of several directories: the directory's position from 1
// and a backslash. The backslash is a label here, not a path separator, so it is the same on every
// platform.
std::wstring ItemNamePrefix(std::size_t position, std::size_t count) {
    std::wostringstream prefix;
    if (count > 1) {
        prefix << position + 1 << L'\\';
    }
    return prefix.str();
}

void Run(int argc, const wchar_t* const argv[]) {
    PrintUsage() << std::endl;

    if (argc < 3) {
        Kvetra::RaiseAplError(L"Недопустимое количество аргументов. См. Использовние");
    }

    // Each directory is checked as soon as it is taken, so the first bad one in argument order is
    // the one reported; the volume is looked at only when all of them are good.
    std::vector<std::wstring> directories;
    for (int i = 1; i < argc - 1; ++i) {
        directories.emplace_back(argv[i]);
        if (!Kvetra::Platform::PathIsDirectoryW(directories.back())) {
            std::wostringstream message;
            message << L"Каталог '" << directories.back() << L"' не найден";
            Kvetra::RaiseAplError(message.str());
        }
    }

    const std::int64_t volume = ParseVolume(argv[argc - 1]);
    if (volume <= 0) {
        Kvetra::RaiseAplError(L"Желаемый размер должен быть больше нуля");
    }
    Kvetra::ConsoleWrite(std::cout, "Желаемый объём:  ");
    WriteSize(std::cout, volume);
    std::cout << std::endl;

    std::vector<TItem> items;
    ReadDirectories(directories, items);
    ReportOversized(items, volume);

    Kvetra::ConsoleWrite(std::cout, "\nНачинаем поиск решений...");
    std::cout << std::endl;
    FindOptimalFill(volume, items);
    Kvetra::ConsoleWrite(std::cout, "\nПоиск закончен. Последнее решение оптимальное.");
    std::cout << std::endl;
}

}  // namespace

void ReadDirectories(const std::vector<std::wstring>& directories, std::vector<TItem>& items) {
    for (std::size_t k = 0; k < directories.size(); ++k) {
        const std::wstring prefix = ItemNamePrefix(k, directories.size());
        // Announced before it is read: reading a large tree takes a while.
        Kvetra::ConsoleWrite(std::cout, "Чтение каталога ");
        Kvetra::ConsoleWrite(std::cout, prefix);
        Kvetra::ConsoleWrite(std::cout, ": ");
        Kvetra::ConsoleWrite(std::cout, directories[k]);
        Kvetra::ConsoleWrite(std::cout, " ...");
        std::cout << std::endl;
        CollectItems(directories[k], prefix, items);
    }
}

int RunReportingFailures(const std::function<void()>& body) {
    try {
        body();
        return 0;
    } catch (const Kvetra::TSilentException&) {
    } catch (const Kvetra::TAplThrowException& e) {
        Kvetra::LogAplException(e.SourceFile().c_str(), e.SourceLine(), e.what());
    } catch (const std::exception& e) {
        Kvetra::LogStdException(e.what());
    } catch (...) {
        Kvetra::LogUnknownException();
    }
    return 1;
}

int WideMain(int argc, const wchar_t* const argv[]) {
    try {
        TPressAnyKey pressAnyKey(kKeyPrompt);
        return RunReportingFailures([&] { Run(argc, argv); });
    } catch (...) {
        // Writing an error record failed. The handler makes sure the prompt above has been shown
        // (an exception with no handler at all may end the program without unwinding); the
        // failure then ends the program.
        throw;
    }
}

}  // namespace Vantorel
