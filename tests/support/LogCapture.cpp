#include "support/LogCapture.h"

#include <gtest/gtest.h>

#include "run/CleanupRun.h"
#include "run/LogFile.h"
#include "support/Machine.h"

std::string LogOf(const std::function<void()>& write) {
    const std::string path = FreshFolder("C:\\log-capture") + "\\oberin.log";
    EXPECT_TRUE(TheLogFile().Open(path));
    write();
    TheLogFile().Close();
    return ReadWholeFile(path);
}

std::string RemoveAndLog(Component& product, bool* result) {
    return LogOf([&] { *result = product.Remove(); });
}

std::string ReportAndLog(Component& product, const char* displayName, ProductKind kind,
                         bool* result) {
    return LogOf([&] {
        const bool reported = ReportProduct(product, displayName, kind);
        if (result) *result = reported;
    });
}

std::string WithCrLf(const std::string& text) {
    std::string result;
    for (char c : text) {
        if (c == '\n') result += '\r';
        result += c;
    }
    return result;
}
