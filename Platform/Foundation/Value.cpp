#include "Foundation/Value.h"

#include "Foundation/NSError.h"
#include "Foundation/NSString.h"
#include "Foundation/NSStringsTable.h"

#include "Files/FileContents.h"

#include <nlohmann/json.hpp>
#include <plist/plist.h>

#include <algorithm>
#include <charconv>
#include <cerrno>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <sstream>
#include <stdexcept>

#include <unistd.h>

#include <atomic>

namespace {

// Property lists count dates from 2001-01-01; we keep the Unix epoch.
constexpr double kPlistEpochOffset = 978307200.0;

std::string shortestReal(double d)
{
    if (std::isnan(d)) return "nan";
    if (std::isinf(d)) return d > 0 ? "inf" : "-inf";
    char buf[64];
    auto r = std::to_chars(buf, buf + sizeof buf, d);
    return std::string(buf, r.ptr);
}

// The platform's string-to-number reading: leading whitespace, then the longest numeric prefix.
double leadingReal(const std::string& s)
{
    return std::strtod(s.c_str(), nullptr);
}
std::int64_t leadingInteger(const std::string& s)
{
    return std::strtoll(s.c_str(), nullptr, 10);
}

void fail(std::shared_ptr<NSError>* error, NSInteger code, const std::string& message)
{
    NSError::assign(error, NSError::errorWithDescription(NSCocoaErrorDomain, code, message));
}

// Deeper documents are refused before parsing: building and converting them recurses once per
// level, and a few hundred kilobytes of "[" would exhaust the stack.
constexpr int kMaxJSONNesting = 512;

// The deepest nesting of arrays and objects, brackets inside strings not counted.
int jsonNestingDepth(std::string_view text)
{
    int depth = 0, deepest = 0;
    bool inString = false, escaped = false;
    for (char c : text) {
        if (inString) {
            if (escaped)
                escaped = false;
            else if (c == '\\')
                escaped = true;
            else if (c == '"')
                inString = false;
        } else if (c == '"') {
            inString = true;
        } else if (c == '[' || c == '{') {
            deepest = std::max(deepest, ++depth);
        } else if (c == ']' || c == '}') {
            --depth;
        }
    }
    return deepest;
}

// Error codes follow the platform's property-list and JSON reading/writing codes.
constexpr NSInteger kReadCorruptError = 3840;
constexpr NSInteger kWriteInvalidError = 3851;
constexpr NSInteger kFileReadError = 260;
constexpr NSInteger kFileWriteError = 512;

bool needsQuotes(const std::string& s)
{
    if (s.empty()) return true;
    for (unsigned char c : s)
        if (!(std::isalnum(c) || c == '_' || c == '.' || c == '$' || c == '/' || c == ':' || c == '-')) return true;
    return false;
}

std::string quoted(const std::string& s)
{
    std::string out = "\"";
    for (char c : s) {
        if (c == '"' || c == '\\') out += '\\';
        if (c == '\n') {
            out += "\\n";
            continue;
        }
        out += c;
    }
    return out + "\"";
}

void describe(const Value& v, int indent, bool nested, std::string& out)
{
    std::string pad(static_cast<size_t>(indent) * 4, ' ');
    std::string inner(static_cast<size_t>(indent + 1) * 4, ' ');
    if (auto* a = v.asArray()) {
        out += "(\n";
        for (size_t i = 0; i < a->size(); ++i) {
            out += inner;
            describe((*a)[i], indent + 1, true, out);
            out += i + 1 < a->size() ? ",\n" : "\n";
        }
        out += pad + ")";
    } else if (auto* d = v.asDictionary()) {
        out += "{\n";
        for (const auto& [k, item] : *d) {
            out += inner + (needsQuotes(k) ? quoted(k) : k) + " = ";
            describe(item, indent + 1, true, out);
            out += ";\n";
        }
        out += pad + "}";
    } else if (auto* s = v.asString()) {
        out += nested && needsQuotes(*s) ? quoted(*s) : *s;
    } else {
        out += v.description();
    }
}

// ---- JSON ----

Value fromJson(const nlohmann::json& j)
{
    switch (j.type()) {
    case nlohmann::json::value_t::null: return Value::null();
    case nlohmann::json::value_t::boolean: return Value(j.get<bool>());
    case nlohmann::json::value_t::number_integer: return Value(j.get<std::int64_t>());
    case nlohmann::json::value_t::number_unsigned: {
        auto u = j.get<std::uint64_t>();
        return u > static_cast<std::uint64_t>(INT64_MAX) ? Value(static_cast<double>(u))
                                                         : Value(static_cast<std::int64_t>(u));
    }
    case nlohmann::json::value_t::number_float: return Value(j.get<double>());
    case nlohmann::json::value_t::string: return Value(j.get<std::string>());
    case nlohmann::json::value_t::array: {
        Value::Array a;
        a.reserve(j.size());
        for (const auto& item : j) a.push_back(fromJson(item));
        return Value(std::move(a));
    }
    case nlohmann::json::value_t::object: {
        Value::Dictionary d;
        for (auto it = j.begin(); it != j.end(); ++it) d.emplace(it.key(), fromJson(it.value()));
        return Value(std::move(d));
    }
    default: return {};
    }
}

bool toJson(const Value& v, nlohmann::json& out, std::string& problem)
{
    switch (v.kind()) {
    case Value::Kind::Null: out = nullptr; return true;
    case Value::Kind::Bool: out = v.boolValue(); return true;
    case Value::Kind::Integer: out = v.longLongValue(); return true;
    case Value::Kind::Real:
        if (!std::isfinite(v.doubleValue())) {
            problem = "Invalid number value (infinite or NaN) in JSON write";
            return false;
        }
        out = v.doubleValue();
        return true;
    case Value::Kind::String: out = *v.asString(); return true;
    case Value::Kind::Array: {
        out = nlohmann::json::array();
        for (const auto& item : *v.asArray()) {
            nlohmann::json j;
            if (!toJson(item, j, problem)) return false;
            out.push_back(std::move(j));
        }
        return true;
    }
    case Value::Kind::Dictionary: {
        out = nlohmann::json::object();
        for (const auto& [k, item] : *v.asDictionary()) {
            nlohmann::json j;
            if (!toJson(item, j, problem)) return false;
            out[k] = std::move(j);
        }
        return true;
    }
    case Value::Kind::Nil: problem = "Nil value in JSON write"; return false;
    case Value::Kind::Data: problem = "Invalid type in JSON write (data)"; return false;
    case Value::Kind::Date: problem = "Invalid type in JSON write (date)"; return false;
    case Value::Kind::Object: problem = "Invalid type in JSON write (" + v.object()->className() + ")"; return false;
    }
    return false;
}

// ---- property lists ----

struct PlistFree {
    void operator()(plist_t p) const { plist_free(p); }
};
using PlistPtr = std::unique_ptr<void, PlistFree>;

Value fromPlist(plist_t node)
{
    switch (plist_get_node_type(node)) {
    case PLIST_BOOLEAN: {
        uint8_t b = 0;
        plist_get_bool_val(node, &b);
        return Value(b != 0);
    }
    case PLIST_UINT: {
        uint64_t u = 0;
        plist_get_uint_val(node, &u);
        // libplist keeps every integer as 64 bits; negative numbers travel as two's complement.
        return Value(static_cast<std::int64_t>(u));
    }
    case PLIST_REAL: {
        double d = 0;
        plist_get_real_val(node, &d);
        return Value(d);
    }
    case PLIST_STRING:
    case PLIST_KEY: {
        uint64_t length = 0;
        const char* s = plist_get_string_ptr(node, &length);
        return Value(std::string(s ? s : "", s ? length : 0));
    }
    case PLIST_DATA: {
        uint64_t length = 0;
        const char* p = plist_get_data_ptr(node, &length);
        return Value::data(p, length);
    }
    case PLIST_DATE: {
        int32_t sec = 0, usec = 0;
        plist_get_date_val(node, &sec, &usec);
        return Value::date(kPlistEpochOffset + sec + usec / 1e6);
    }
    case PLIST_ARRAY: {
        Value::Array a;
        uint32_t n = plist_array_get_size(node);
        a.reserve(n);
        for (uint32_t i = 0; i < n; ++i) a.push_back(fromPlist(plist_array_get_item(node, i)));
        return Value(std::move(a));
    }
    case PLIST_DICT: {
        Value::Dictionary d;
        plist_dict_iter it = nullptr;
        plist_dict_new_iter(node, &it);
        for (;;) {
            char* key = nullptr;
            plist_t item = nullptr;
            // Safe only on keys plistProblem has passed: libplist aborts on some others.
            plist_dict_next_item(node, it, &key, &item);
            if (!item) {
                std::free(key);
                break;
            }
            d.emplace(key ? key : "", fromPlist(item));
            std::free(key);
        }
        std::free(it);
        return Value(std::move(d));
    }
    default: return {};
    }
}

plist_t toPlist(const Value& v, std::string& problem)
{
    switch (v.kind()) {
    case Value::Kind::Bool: return plist_new_bool(v.boolValue());
    case Value::Kind::Integer: return plist_new_uint(static_cast<uint64_t>(v.longLongValue()));
    case Value::Kind::Real: return plist_new_real(v.doubleValue());
    case Value::Kind::String: return plist_new_string(v.asString()->c_str());
    case Value::Kind::Data: {
        const auto& d = *v.asData();
        return plist_new_data(reinterpret_cast<const char*>(d.data()), d.size());
    }
    case Value::Kind::Date: {
        double t = v.asDate()->timeIntervalSince1970 - kPlistEpochOffset;
        double sec = std::floor(t);
        double usec = std::round((t - sec) * 1e6);
        if (usec >= 1e6) {
            sec += 1;
            usec -= 1e6;
        }
        if (sec < INT32_MIN || sec > INT32_MAX) {
            problem = "Date out of the property-list range";
            return nullptr;
        }
        return plist_new_date(static_cast<int32_t>(sec), static_cast<int32_t>(usec));
    }
    case Value::Kind::Array: {
        PlistPtr a(plist_new_array());
        for (const auto& item : *v.asArray()) {
            plist_t p = toPlist(item, problem);
            if (!p) return nullptr;
            plist_array_append_item(a.get(), p);
        }
        return a.release();
    }
    case Value::Kind::Dictionary: {
        PlistPtr d(plist_new_dict());
        for (const auto& [k, item] : *v.asDictionary()) {
            plist_t p = toPlist(item, problem);
            if (!p) return nullptr;
            plist_dict_set_item(d.get(), k.c_str(), p);
        }
        return d.release();
    }
    case Value::Kind::Nil: problem = "Property list invalid for format: nil"; return nullptr;
    case Value::Kind::Null: problem = "Property list invalid for format: NSNull"; return nullptr;
    case Value::Kind::Object: problem = "Property list invalid for format: " + v.object()->className(); return nullptr;
    }
    return nullptr;
}

}  // namespace

Value::Value(const char* s)
{
    if (s) storage_ = std::string(s);
}
Value::Value(Data d) : storage_(std::make_shared<Data>(std::move(d))) {}
Value::Value(Array a) : storage_(std::make_shared<Array>(std::move(a))) {}
Value::Value(Dictionary d) : storage_(std::make_shared<Dictionary>(std::move(d))) {}

Value Value::null()
{
    Value v;
    v.storage_ = NullTag{};
    return v;
}

Value Value::array(std::initializer_list<Value> items)
{
    return Value(Array(items));
}

Value Value::dictionary(std::initializer_list<std::pair<const std::string, Value>> items)
{
    Dictionary d;
    for (const auto& [k, v] : items)
        if (!v.isNil()) d.insert_or_assign(k, v);
    return Value(std::move(d));
}

Value Value::data(const void* bytes, std::size_t length)
{
    auto* p = static_cast<const std::uint8_t*>(bytes);
    return Value(Data(p, p + (p ? length : 0)));
}

bool Value::boolValue() const
{
    switch (kind()) {
    case Kind::Bool: return std::get<bool>(storage_);
    case Kind::Integer: return std::get<std::int64_t>(storage_) != 0;
    case Kind::Real: return std::get<double>(storage_) != 0;
    case Kind::String: {
        // The platform's reading: YES for a leading "Y", "y", "T", "t" or a non-zero digit after
        // optional whitespace, sign and zeros.
        const std::string& s = std::get<std::string>(storage_);
        size_t i = s.find_first_not_of(" \t\n");
        if (i == std::string::npos) return false;
        char c = s[i];
        if (c == 'Y' || c == 'y' || c == 'T' || c == 't') return true;
        if (c == '+' || c == '-') ++i;
        while (i < s.size() && s[i] == '0') ++i;
        return i < s.size() && s[i] >= '1' && s[i] <= '9';
    }
    default: return false;
    }
}

std::int64_t Value::longLongValue() const
{
    switch (kind()) {
    case Kind::Bool: return std::get<bool>(storage_) ? 1 : 0;
    case Kind::Integer: return std::get<std::int64_t>(storage_);
    case Kind::Real: {
        double d = std::get<double>(storage_);
        if (std::isnan(d)) return 0;
        if (d >= 9.2e18) return INT64_MAX;
        if (d <= -9.2e18) return INT64_MIN;
        return static_cast<std::int64_t>(d);
    }
    case Kind::String: return leadingInteger(std::get<std::string>(storage_));
    default: return 0;
    }
}

int Value::intValue() const
{
    if (kind() == Kind::Real) {
        double d = std::get<double>(storage_);
        if (std::isnan(d)) return 0;
        if (d >= 2147483647.0) return INT32_MAX;
        if (d <= -2147483648.0) return INT32_MIN;
        return static_cast<int>(d);
    }
    return static_cast<int>(static_cast<std::int32_t>(longLongValue()));
}

double Value::doubleValue() const
{
    switch (kind()) {
    case Kind::Bool: return std::get<bool>(storage_) ? 1 : 0;
    case Kind::Integer: return static_cast<double>(std::get<std::int64_t>(storage_));
    case Kind::Real: return std::get<double>(storage_);
    case Kind::String: return leadingReal(std::get<std::string>(storage_));
    default: return 0;
    }
}

std::string Value::stringValue() const
{
    switch (kind()) {
    case Kind::String: return std::get<std::string>(storage_);
    case Kind::Bool:
    case Kind::Integer:
    case Kind::Real: return description();
    default: return {};
    }
}

const Value::Data* Value::asData() const&
{
    auto* p = std::get_if<std::shared_ptr<Data>>(&storage_);
    return p ? p->get() : nullptr;
}
const Value::Array* Value::asArray() const&
{
    auto* p = std::get_if<std::shared_ptr<Array>>(&storage_);
    return p ? p->get() : nullptr;
}
const Value::Dictionary* Value::asDictionary() const&
{
    auto* p = std::get_if<std::shared_ptr<Dictionary>>(&storage_);
    return p ? p->get() : nullptr;
}
std::optional<Value::Date> Value::asDate() const
{
    auto* p = std::get_if<Date>(&storage_);
    return p ? std::optional<Date>(*p) : std::nullopt;
}

std::size_t Value::count() const
{
    if (auto* a = asArray()) return a->size();
    if (auto* d = asDictionary()) return d->size();
    return 0;
}

Value Value::objectForKey(std::string_view key) const
{
    auto* d = asDictionary();
    if (!d) return {};
    auto it = d->find(key);
    return it == d->end() ? Value() : it->second;
}

Value Value::objectAtIndex(std::size_t index) const
{
    auto* a = asArray();
    return a && index < a->size() ? (*a)[index] : Value();
}

std::vector<std::string> Value::allKeys() const
{
    std::vector<std::string> keys;
    if (auto* d = asDictionary())
        for (const auto& kv : *d) keys.push_back(kv.first);
    return keys;
}

namespace {
template <class T, class Storage>
T& unshare(Storage& storage, const char* what)
{
    auto* p = std::get_if<std::shared_ptr<T>>(&storage);
    if (!p) throw std::logic_error(std::string("Value is not ") + what);
    if (p->use_count() > 1) *p = std::make_shared<T>(**p);
    return **p;
}
}  // namespace

namespace {
// Gives a copy storage of its own when the original handed out a mutable reference.
template <class Storage>
void detach(Storage& storage)
{
    if (auto* a = std::get_if<std::shared_ptr<Value::Array>>(&storage))
        *a = std::make_shared<Value::Array>(**a);
    else if (auto* d = std::get_if<std::shared_ptr<Value::Dictionary>>(&storage))
        *d = std::make_shared<Value::Dictionary>(**d);
    else if (auto* b = std::get_if<std::shared_ptr<Value::Data>>(&storage))
        *b = std::make_shared<Value::Data>(**b);
}
}  // namespace

Value::Value(const Value& other) : storage_(other.storage_)
{
    if (other.unshareable_) detach(storage_);
}

Value& Value::operator=(const Value& other)
{
    if (this != &other) {
        storage_ = other.storage_;
        unshareable_ = false;
        if (other.unshareable_) detach(storage_);
    }
    return *this;
}

Value::Array& Value::mutableArray()
{
    unshareable_ = true;
    return unshare<Array>(storage_, "an array");
}
Value::Dictionary& Value::mutableDictionary()
{
    unshareable_ = true;
    return unshare<Dictionary>(storage_, "a dictionary");
}
Value::Data& Value::mutableData()
{
    unshareable_ = true;
    return unshare<Data>(storage_, "data");
}

void Value::addObject(Value v)
{
    unshare<Array>(storage_, "an array").push_back(std::move(v));
}

void Value::setObject(Value v, std::string_view key)
{
    auto& d = unshare<Dictionary>(storage_, "a dictionary");
    if (v.isNil()) {
        if (auto it = d.find(key); it != d.end()) d.erase(it);
        return;
    }
    d.insert_or_assign(std::string(key), std::move(v));
}

void Value::removeObjectForKey(std::string_view key)
{
    setObject(Value(), key);
}

bool Value::operator==(const Value& other) const
{
    if (isNumber() && other.isNumber()) {
        // Compared exactly, as the platform compares numbers: an integer equals a real only when
        // the real is that very whole number (2^53 + 1 is not 2^53 as a real).
        if (!isReal() && !other.isReal()) return longLongValue() == other.longLongValue();
        if (isReal() && other.isReal()) return doubleValue() == other.doubleValue();
        double real = isReal() ? doubleValue() : other.doubleValue();
        std::int64_t whole = isReal() ? other.longLongValue() : longLongValue();
        if (real != std::trunc(real) || !(std::fabs(real) < 9.2e18)) return false;
        return static_cast<std::int64_t>(real) == whole;
    }
    if (kind() != other.kind()) return false;
    switch (kind()) {
    case Kind::Data: return *asData() == *other.asData();
    case Kind::Array: return *asArray() == *other.asArray();
    case Kind::Dictionary: return *asDictionary() == *other.asDictionary();
    case Kind::Object: return object()->isEqual(*other.object());
    default: return storage_ == other.storage_;
    }
}

std::size_t Value::hash() const
{
    auto mix = [](std::size_t h, std::size_t v) { return h ^ (v + 0x9e3779b97f4a7c15ull + (h << 6) + (h >> 2)); };
    switch (kind()) {
    case Kind::Nil: return 0;
    case Kind::Null: return 1;
    case Kind::Bool:
    case Kind::Integer:
    case Kind::Real: {
        // Equal numbers of different kinds hash alike: whole reals hash as the integer.
        double d = doubleValue();
        if (!isReal() || (d == std::trunc(d) && std::fabs(d) < 9.2e18))
            return std::hash<std::int64_t>()(isReal() ? static_cast<std::int64_t>(d) : longLongValue());
        return std::hash<double>()(d);
    }
    case Kind::String: return std::hash<std::string>()(*asString());
    case Kind::Data:
        return std::hash<std::string_view>()(
            std::string_view(reinterpret_cast<const char*>(asData()->data()), asData()->size()));
    case Kind::Date: return std::hash<double>()(asDate()->timeIntervalSince1970);
    case Kind::Array: {
        std::size_t h = 2;
        for (const auto& item : *asArray()) h = mix(h, item.hash());
        return h;
    }
    case Kind::Dictionary: {
        std::size_t h = 3;
        for (const auto& [key, item] : *asDictionary()) h = mix(mix(h, std::hash<std::string>()(key)), item.hash());
        return h;
    }
    case Kind::Object: return object()->hash();
    }
    return 0;
}

std::string Value::description() const
{
    switch (kind()) {
    case Kind::Nil: return "(null)";
    case Kind::Null: return "<null>";
    case Kind::Bool: return std::get<bool>(storage_) ? "1" : "0";
    case Kind::Integer: return std::to_string(std::get<std::int64_t>(storage_));
    case Kind::Real: return shortestReal(std::get<double>(storage_));
    case Kind::String: return std::get<std::string>(storage_);
    case Kind::Data: {
        std::string out = "{length = " + std::to_string(asData()->size()) + ", bytes = 0x";
        for (size_t i = 0; i < asData()->size() && i < 32; ++i) out += NSStringWithFormat("%02x", (*asData())[i]);
        return out + (asData()->size() > 32 ? "...}" : "}");
    }
    case Kind::Date: {
        double t = asDate()->timeIntervalSince1970;
        std::time_t sec = static_cast<std::time_t>(std::floor(t));
        std::tm utc{};
        gmtime_r(&sec, &utc);
        char buf[40];
        std::strftime(buf, sizeof buf, "%Y-%m-%d %H:%M:%S +0000", &utc);
        return buf;
    }
    case Kind::Array:
    case Kind::Dictionary: {
        std::string out;
        describe(*this, 0, false, out);
        return out;
    }
    case Kind::Object: return object()->description();
    }
    return {};
}

Value Value::fromJSON(std::string_view text, std::shared_ptr<NSError>* error)
{
    if (jsonNestingDepth(text) > kMaxJSONNesting) {
        fail(error, kReadCorruptError,
             NSStringWithFormat("The data couldn\u2019t be read because it is nested deeper than %d levels.",
                                kMaxJSONNesting));
        return {};
    }
    nlohmann::json j = nlohmann::json::parse(text.begin(), text.end(), nullptr, false);
    if (j.is_discarded()) {
        fail(error, kReadCorruptError, "The data couldn\u2019t be read because it isn\u2019t in the correct format.");
        return {};
    }
    return fromJson(j);
}

namespace {

// Why a dictionary key cannot become a string (empty when it can). libplist aborts the process when
// asked for the text of a key that holds a NUL (a binary list's UTF-16 key may), so the key's bytes
// are first seen through its XML form, which writes all of them.
std::string plistKeyProblem(plist_t key)
{
    if (plist_get_node_type(key) != PLIST_KEY) return "a key in it is not a string";
    char* xml = nullptr;
    uint32_t length = 0;
    plist_to_xml(key, &xml, &length);
    const std::string_view written(xml ? xml : "", xml ? length : 0);
    const std::size_t open = written.find("<key>"), close = written.rfind("</key>");
    const bool readable = open != std::string_view::npos && close != std::string_view::npos && open < close;
    const bool holdsNul = readable && written.substr(open, close - open).find('\0') != std::string_view::npos;
    plist_to_xml_free(xml);
    if (!readable) return "a key in it cannot be read";
    if (holdsNul) return "a key in it holds a NUL character";
    char* text = nullptr;
    plist_get_key_val(key, &text);
    const bool utf8 = !text || NSStringIsValidUTF8(text);
    std::free(text);
    return utf8 ? std::string() : "a key in it is not UTF-8";
}

// Why a property list read cannot become values (empty when it can): nesting deeper than JSON may
// be (reading would run out of stack), a string that is no UTF-8 (no writer could store it), or a
// kind of value we have none for.
std::string plistProblem(plist_t node, int depth)
{
    if (depth > kMaxJSONNesting) return NSStringWithFormat("it is nested deeper than %d levels", kMaxJSONNesting);
    switch (plist_get_node_type(node)) {
    case PLIST_STRING:
    case PLIST_KEY: {
        uint64_t length = 0;
        const char* s = plist_get_string_ptr(node, &length);
        if (s && !NSStringIsValidUTF8(std::string_view(s, length))) return "a string in it is not UTF-8";
        return {};
    }
    case PLIST_ARRAY:
        for (uint32_t i = 0, n = plist_array_get_size(node); i < n; ++i)
            if (std::string problem = plistProblem(plist_array_get_item(node, i), depth + 1); !problem.empty())
                return problem;
        return {};
    case PLIST_DICT: {
        std::string problem;
        plist_dict_iter it = nullptr;
        plist_dict_new_iter(node, &it);
        while (problem.empty()) {
            plist_t item = nullptr;
            plist_dict_next_item(node, it, nullptr, &item);
            if (!item) break;
            problem = plistKeyProblem(plist_dict_item_get_key(item));
            if (problem.empty()) problem = plistProblem(item, depth + 1);
        }
        std::free(it);
        return problem;
    }
    case PLIST_BOOLEAN:
    case PLIST_UINT:
    case PLIST_REAL:
    case PLIST_DATE:
    case PLIST_DATA: return {};
    // A keyed archive's object reference: no value of ours stands for one.
    case PLIST_UID: return "it holds an archive\u2019s object reference (UID)";
    default: return "it holds a value of an unknown kind";
    }
}

}  // namespace

std::string Value::toJSON(bool prettyPrinted, std::shared_ptr<NSError>* error) const
{
    nlohmann::json j;
    std::string problem;
    if (!toJson(*this, j, problem)) {
        fail(error, kWriteInvalidError, problem);
        return {};
    }
    try {
        return j.dump(prettyPrinted ? 2 : -1);
    } catch (const nlohmann::json::type_error&) {
        // A string that is no UTF-8 (a property list may hold one) has no JSON form.
        fail(error, kWriteInvalidError, "Invalid UTF-8 in a string in JSON write");
        return {};
    }
}

Value Value::fromPropertyList(const void* bytes, std::size_t length, std::shared_ptr<NSError>* error)
{
    plist_t root = nullptr;
    std::string_view text(static_cast<const char*>(bytes), bytes ? length : 0);
    std::string_view start = text.substr(
        text.find_first_not_of(" \t\r\n") == std::string_view::npos ? text.size() : text.find_first_not_of(" \t\r\n"));
    if (!start.empty() && start[0] != '<' && !start.starts_with("bplist")) {
        // Neither XML nor binary: the text form of a dictionary, as string tables are written.
        return NSStringsTableFromText(text, error);
    }
    if (bytes && length > 0 && length <= UINT32_MAX)
        plist_from_memory(static_cast<const char*>(bytes), static_cast<uint32_t>(length), &root);
    if (!root) {
        fail(error, kReadCorruptError, "The data couldn\u2019t be read because it isn\u2019t in the correct format.");
        return {};
    }
    PlistPtr owner(root);
    if (std::string problem = plistProblem(root, 0); !problem.empty()) {
        fail(error, kReadCorruptError, "The data couldn\u2019t be read because " + problem + ".");
        return {};
    }
    return fromPlist(root);
}

Value Value::fromPropertyListFile(const std::string& path, std::shared_ptr<NSError>* error)
{
    std::string text, reason;
    // Property lists here are tables and settings of a few kilobytes; a file far past that, a
    // directory or a device is no property list.
    if (!FileReadText(path, std::size_t{32} << 20, &text, &reason)) {
        const std::string description = reason == std::strerror(ENOENT)
                                            ? "The file couldn\u2019t be opened because there is no such file."
                                            : "The file couldn\u2019t be opened (" + reason + ").";
        NSError::assign(error, NSError::errorWithDomain(NSCocoaErrorDomain, kFileReadError,
                                                        Value::dictionary({{NSLocalizedDescriptionKey, description},
                                                                           {NSFilePathErrorKey, path}})));
        return {};
    }
    return fromPropertyList(text, error);
}

std::optional<Value::Data> Value::toPropertyList(NSPropertyListFormat format, std::shared_ptr<NSError>* error) const
{
    std::string problem;
    plist_t root = toPlist(*this, problem);
    if (!root) {
        fail(error, kWriteInvalidError, problem);
        return std::nullopt;
    }
    PlistPtr owner(root);
    char* bytes = nullptr;
    uint32_t length = 0;
    if (format == NSPropertyListFormat::XML)
        plist_to_xml(root, &bytes, &length);
    else
        plist_to_bin(root, &bytes, &length);
    if (!bytes) {
        fail(error, kWriteInvalidError, "The property list could not be written.");
        return std::nullopt;
    }
    Data out(reinterpret_cast<std::uint8_t*>(bytes), reinterpret_cast<std::uint8_t*>(bytes) + length);
    if (format == NSPropertyListFormat::XML)
        plist_to_xml_free(bytes);
    else
        plist_to_bin_free(bytes);
    return out;
}

bool Value::writePropertyListToFile(const std::string& path, NSPropertyListFormat format,
                                    std::shared_ptr<NSError>* error) const
{
    auto bytes = toPropertyList(format, error);
    if (!bytes) return false;
    static std::atomic<unsigned> serial{0};
    std::string temporary = path + ".tmp." + std::to_string(getpid()) + "." + std::to_string(serial++);
    {
        std::ofstream out(temporary, std::ios::binary | std::ios::trunc);
        out.write(reinterpret_cast<const char*>(bytes->data()), static_cast<std::streamsize>(bytes->size()));
        out.flush();
        if (!out) {
            std::remove(temporary.c_str());
            NSError::assign(error, NSError::errorWithDomain(NSCocoaErrorDomain, kFileWriteError,
                                                            Value::dictionary({{NSLocalizedDescriptionKey,
                                                                                "The file couldn\u2019t be saved."},
                                                                               {NSFilePathErrorKey, path}})));
            return false;
        }
    }
    if (std::rename(temporary.c_str(), path.c_str()) != 0) {
        std::remove(temporary.c_str());
        NSError::assign(error, NSError::errorWithDomain(
                                   NSCocoaErrorDomain, kFileWriteError,
                                   Value::dictionary({{NSLocalizedDescriptionKey, "The file couldn\u2019t be saved."},
                                                      {NSFilePathErrorKey, path}})));
        return false;
    }
    return true;
}
