// The order of a run, from the banner to the key prompt, and the one place where failures are
// caught.
#pragma once

#include <functional>
#include <string>
#include <vector>

#include "Item.h"

namespace Vantorel {

// Runs the program on wide arguments (argv[0] is the program, then the directories, then the
// volume). Every run ends with the key prompt, whether it succeeded or failed. Returns 0 after a
// normal end and 1 after a failure, so that scripts can tell the two apart.
int WideMain(int argc, const wchar_t* const argv[]);

// Runs body and hands whatever it raises to the error log: a TSilentException writes nothing, a
// TAplThrowException its three-line record, any other std::exception the one-line record with its
// what() text, anything else the unknown-exception record. Returns 0 when body returned normally
// and 1 when it raised. An exception raised while a record is written passes through.
int RunReportingFailures(const std::function<void()>& body);

// Reads the directories in order into items, announcing each on the console before it is read.
// With more than one directory, item names start with the directory's position from 1 and a
// backslash ("2\Film.avi").
void ReadDirectories(const std::vector<std::wstring>& directories, std::vector<TItem>& items);

}  // namespace Vantorel
