#pragma once
#include <string>

// The word a product's log texts use for it.
enum class ProductKind { Utility, Component, Service, Driver };

// "This <kind> has been detected.\n"
std::string DetectedText(ProductKind kind);
// 17 blanks, then "This <kind> has been removed.\n"
std::string RemovedText(ProductKind kind);
// "Warning:" line saying the product was not completely removed.
std::string NotRemovedText(ProductKind kind);
// "This <kind> is not installed, so the Windows 2000 Oberin\n"
std::string NotInstalledText(ProductKind kind);
