#pragma once
// A recording automation server for tests: it stands in for a real server
// under a programmatic identifier, writes down every call made on it and on
// every object reached through it, and can be told to fail any of them.
//
// Each object is named by the path that reached it, so the log reads as the
// calls were written:
//   GetActiveOleObject("Excel.Application")
//   CreateOleObject("Excel.Application")
//   put Excel.Application.SheetsInNewWorkbook = 1
//   get Excel.Application.WorkBooks
//   call Excel.Application.WorkBooks.add()
// Values are written as 1, 2.5, true, "text", Empty, Array[0..3, 0..5] or,
// for an object, its path.

#include "platform/automation/comobj.h"

class TRecordingServer : public TOleServer, public std::enable_shared_from_this<TRecordingServer> {
public:
    explicit TRecordingServer(String progId);

    Variant CreateObject() override;
    Variant GetActiveObject() override;

    const std::vector<String>& Log() const { return log_; }
    void ClearLog() { log_.clear(); }

    // Calls whose log line starts with the text raise EOleException (for
    // "CreateOleObject(...)" and "GetActiveOleObject(...)", EOleSysError).
    void FailOn(String logLinePrefix);
    // What reads and calls of that path return instead of a new object.
    void SetResult(String path, Variant value);
    // The last value assigned to the property of that path, if any.
    const Variant* Assigned(const String& path) const;

    // For the objects: records a line, raises when told to fail.
    void Record(const String& line);
    Variant ResultFor(const String& path, bool& found) const;
    void RecordPut(const String& path, const Variant& value);
    static String Describe(const Variant& v);

protected:
    DispatchPtr NewInstance() override;

private:
    void RecordRequest(const String& call, HRESULT failure);

    String progId_;
    std::vector<String> log_;
    std::vector<String> failOn_;
    std::vector<std::pair<String, Variant>> results_;
    std::vector<std::pair<String, Variant>> assigned_;
};
