#include "report/RunReportJson.h"

#include <cstdint>
#include <limits>

#include "report/JsonParser.h"
#include "report/JsonText.h"
#include "report/ReportTime.h"

namespace
{

// Members in the order they are written: "name": value, separated and indented by layout.
class JsonObjectWriter
{
  public:
    JsonObjectWriter(std::string &out, JsonLayout layout, int depth)
        : out_(out), layout_(layout), depth_(depth)
    {
        out_ += '{';
    }
    void String(std::string_view key, std::string_view value)
    {
        Key(key);
        AppendJsonString(out_, value);
    }
    void Raw(std::string_view key, std::string_view value)
    {
        Key(key);
        out_ += value;
    }
    // Opens the array; the caller writes the items through Item().
    void BeginArray(std::string_view key)
    {
        Key(key);
        out_ += '[';
        firstItem_ = true;
    }
    void Item()
    {
        out_ += firstItem_ ? "" : ",";
        firstItem_ = false;
        Break(depth_ + 2);
    }
    void EndArray(bool empty)
    {
        if (!empty) {
            Break(depth_ + 1);
        }
        out_ += ']';
    }
    void End()
    {
        Break(depth_);
        out_ += '}';
    }

  private:
    void Key(std::string_view key)
    {
        out_ += first_ ? "" : ",";
        first_ = false;
        Break(depth_ + 1);
        AppendJsonString(out_, key);
        out_ += layout_ == JsonLayout::Indented ? ": " : ":";
    }
    void Break(int depth)
    {
        if (layout_ == JsonLayout::Indented) {
            out_ += '\n';
            out_.append(static_cast<std::size_t>(depth) * 2, ' ');
        }
    }

    std::string &out_;
    JsonLayout layout_;
    int depth_;
    bool first_ = true;
    bool firstItem_ = true;
};

void WriteObject(std::string &out, const ReportedObject &object, JsonLayout layout, int depth)
{
    JsonObjectWriter json(out, layout, depth);
    json.String("name", object.name);
    json.String("version", ReportedVersionText(object));
    json.String("scope", ScopeText(object.scope));
    json.String("outcome", OutcomeText(object.outcome));
    json.Raw("status", std::to_string(object.status));
    json.String("message", object.message);
    json.String("note", object.note);
    json.End();
}

// Reading: each helper fails (returns false) when the member is missing or of another kind.
bool ReadText(const JsonValue &object, std::string_view key, std::string &text)
{
    const JsonValue *member = object.Member(key);
    const std::string *value = member ? member->AsString() : nullptr;
    if (value) {
        text = *value;
    }
    return value != nullptr;
}

bool ReadTime(const JsonValue &object, std::string_view key, int64_t &time)
{
    std::string text;
    std::optional<int64_t> value;
    if (ReadText(object, key, text)) {
        value = ParseIsoTime(text);
    }
    if (value) {
        time = *value;
    }
    return value.has_value();
}

// The most recent version, a time, or what was asked when nothing could be picked.
bool ReadVersion(const JsonValue &object, ReportedObject &reported)
{
    std::string text;
    if (!ReadText(object, "version", text) || text.empty()) {
        return false;
    }
    reported.version = 0;
    if (text == kMostRecentText) {
        return true;
    }
    std::optional<int64_t> time = ParseIsoTime(text);
    if (!time) {
        // Only a pick at or before a time can find nothing to pick.
        const bool asked = text.starts_with("<=") && ParseIsoTime(text.substr(2)).has_value();
        reported.versionAsked = asked ? text : "";
        return asked;
    }
    if (*time <= 0 || *time > std::numeric_limits<uint32_t>::max()) {
        return false;
    }
    reported.version = static_cast<uint32_t>(*time);
    return true;
}

// A word of a list.
template <typename Value>
bool ReadWord(const JsonValue &object, std::string_view key, bool (*of)(std::string_view, Value &),
              Value &value)
{
    std::string text;
    return ReadText(object, key, text) && of(text, value);
}

// One of two words.
bool ReadChoice(const JsonValue &object, std::string_view key, std::string_view yes,
                std::string_view no, bool &value)
{
    std::string text;
    if (!ReadText(object, key, text) || (text != yes && text != no)) {
        return false;
    }
    value = text == yes;
    return true;
}

bool ReadStatus(const JsonValue &object, int32_t &status)
{
    const JsonValue *member = object.Member("status");
    const int64_t code = member ? member->AsInteger().value_or(INT64_MIN) : INT64_MIN;
    if (code < std::numeric_limits<int32_t>::min() || code > std::numeric_limits<int32_t>::max()) {
        return false;
    }
    status = static_cast<int32_t>(code);
    return true;
}

std::optional<ReportedObject> ReadObject(const JsonValue &json)
{
    ReportedObject object;
    if (!ReadText(json, "name", object.name) || !ReadVersion(json, object) ||
        !ReadWord(json, "scope", ScopeOf, object.scope) ||
        !ReadWord(json, "outcome", OutcomeOf, object.outcome) ||
        !ReadText(json, "message", object.message) || !ReadText(json, "note", object.note) ||
        !ReadStatus(json, object.status) ||
        (object.status == 0) !=
            (object.Restored() || object.outcome == ObjectOutcome::WouldRestore)) {
        return std::nullopt;
    }
    return object;
}

} // namespace

std::string RunReportToJson(const RunReport &report, JsonLayout layout)
{
    std::string out;
    JsonObjectWriter json(out, layout, 0);
    json.String("started", IsoTime(report.started));
    json.String("ended", IsoTime(report.ended));
    json.String("server", report.server);
    json.String("user", report.user);
    json.String("onError", OnErrorText(report.onError));
    json.String("run", report.ranToEnd ? kRanToEndText : kStoppedText);
    json.BeginArray("objects");
    for (const ReportedObject &object : report.objects) {
        json.Item();
        WriteObject(out, object, layout, 2);
    }
    json.EndArray(report.objects.empty());
    json.End();
    return out;
}

std::optional<RunReport> RunReportFromJson(std::string_view text)
{
    std::optional<JsonValue> json = JsonParser::Parse(text);
    if (!json) {
        return std::nullopt;
    }
    RunReport report;
    const JsonValue *objects = json->Member("objects");
    const std::vector<JsonValue> *items = objects ? objects->AsArray() : nullptr;
    if (!ReadTime(*json, "started", report.started) || !ReadTime(*json, "ended", report.ended) ||
        !ReadText(*json, "server", report.server) || !ReadText(*json, "user", report.user) ||
        !ReadWord(*json, "onError", OnErrorOf, report.onError) ||
        !ReadChoice(*json, "run", kRanToEndText, kStoppedText, report.ranToEnd) || !items) {
        return std::nullopt;
    }
    for (const JsonValue &item : *items) {
        std::optional<ReportedObject> object = ReadObject(item);
        if (!object) {
            return std::nullopt;
        }
        report.objects.push_back(std::move(*object));
    }
    return report;
}
