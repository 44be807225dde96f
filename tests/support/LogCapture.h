#pragma once
#include <functional>
#include <string>

#include "run/Component.h"
#include "run/ProductKind.h"

// The log that the program's own code writes in the test process, captured on a scratch file.

// The bytes write puts into the log, opened on a fresh scratch file before and closed after.
std::string LogOf(const std::function<void()>& write);
// The log text Remove writes; *result gets Remove's result.
std::string RemoveAndLog(Component& product, bool* result);
// The log block the run writes for the product (detection, removal and all); *result, when
// given, gets ReportProduct's result.
std::string ReportAndLog(Component& product, const char* displayName, ProductKind kind,
                         bool* result = nullptr);

// The text with "\n" written as the log writes it, CR LF.
std::string WithCrLf(const std::string& text);
