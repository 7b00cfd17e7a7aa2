#pragma once
// The workbook model written out as an Office Open XML workbook (.xlsx).

#include "platform/automation/workbook.h"

// Writes the workbook to the file (replacing it); raises EOleException naming
// the file when it cannot be written.
void WriteXlsx(const TXlWorkbook& book, const std::filesystem::path& file);
