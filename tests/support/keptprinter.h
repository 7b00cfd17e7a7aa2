#pragma once
// Test helper: the program's printer replaced by one that prints to PDF files only (or by the one
// given) while this lives; the printer before it comes back however the test ends.

#include "platform/gui/printers.h"

#include <memory>

class KeptPrinter {
public:
    explicit KeptPrinter(std::unique_ptr<TPrinter> Instead = std::make_unique<TPrinter>(false, true))
        : kept_(SetPrinter(std::move(Instead))) {}
    ~KeptPrinter() { SetPrinter(std::move(kept_)); }
    KeptPrinter(const KeptPrinter&) = delete;
    KeptPrinter& operator=(const KeptPrinter&) = delete;

private:
    std::unique_ptr<TPrinter> kept_;
};
