#pragma once
// The one dynamic value type for the platform's untyped (`id`) values: options, property lists,
// JSON, userInfo dictionaries, defaults, analytics attributes. Kinds: nil, number (bool, integer
// and real kept apart), string (UTF-8), data, date, array, dictionary (string keys, sorted), null
// (the platform's NSNull) and an opaque object (any NSObject: colour, image, ...).
//
// Values copy cheaply: arrays, dictionaries and data are shared until one copy is changed. Once
// a mutable reference has been handed out (mutableArray() and the like), copies take their own
// storage, so a change through that reference never shows in a copy.
// A Value is not synchronised; share one between threads only read-only (copies are independent).
//
// Equality follows the platform's: numbers compare by value whatever their kind (YES equals 1,
// and 1 equals 1.0), objects by their isEqual, collections element by element; equal values
// answer the same hash().

#include "Foundation/NSObject.h"
#include "Foundation/NSObjCRuntime.h"

#include <concepts>
#include <cstddef>
#include <cstdint>
#include <initializer_list>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <variant>
#include <vector>

class NSError;

enum class NSPropertyListFormat { XML, Binary };

class Value {
public:
    enum class Kind { Nil, Bool, Integer, Real, String, Data, Date, Array, Dictionary, Null, Object };

    using Array = std::vector<Value>;
    using Dictionary = std::map<std::string, Value, std::less<>>;
    using Data = std::vector<std::uint8_t>;
    struct Date {
        double timeIntervalSince1970 = 0;
        bool operator==(const Date&) const = default;
    };

    Value() = default;  // nil
    Value(const Value& other);
    Value(Value&& other) noexcept = default;
    Value& operator=(const Value& other);
    Value& operator=(Value&& other) noexcept = default;
    Value(std::nullptr_t) {}  // nil
    Value(bool b) : storage_(b) {}
    template <std::integral T>
    requires(!std::same_as<T, bool> && !std::same_as<T, char>) Value(T i) : storage_(static_cast<std::int64_t>(i)) {}
    template <std::floating_point T>
    Value(T d) : storage_(static_cast<double>(d))
    {
    }
    Value(const char* s);
    Value(char* s) : Value(static_cast<const char*>(s)) {}
    Value(std::string s) : storage_(std::move(s)) {}
    Value(std::string_view s) : storage_(std::string(s)) {}
    Value(Data d);
    Value(Date d) : storage_(d) {}
    Value(Array a);
    Value(Dictionary d);
    template <class T>
    requires std::derived_from<T, NSObject> Value(std::shared_ptr<T> object)
    {
        if (object) storage_ = std::shared_ptr<NSObject>(std::move(object));
    }
    // Raw pointers would otherwise turn into booleans.
    template <class T>
    Value(T*) = delete;

    static Value null();
    static Value array(std::initializer_list<Value> items = {});
    static Value dictionary(std::initializer_list<std::pair<const std::string, Value>> items = {});
    static Value data(const void* bytes, std::size_t length);
    static Value date(double timeIntervalSince1970) { return Value(Date{timeIntervalSince1970}); }

    Kind kind() const { return static_cast<Kind>(storage_.index()); }
    bool isNil() const { return kind() == Kind::Nil; }
    bool isNull() const { return kind() == Kind::Null; }
    bool isBool() const { return kind() == Kind::Bool; }
    bool isInteger() const { return kind() == Kind::Integer; }
    bool isReal() const { return kind() == Kind::Real; }
    bool isNumber() const { return isBool() || isInteger() || isReal(); }
    bool isString() const { return kind() == Kind::String; }
    bool isData() const { return kind() == Kind::Data; }
    bool isDate() const { return kind() == Kind::Date; }
    bool isArray() const { return kind() == Kind::Array; }
    bool isDictionary() const { return kind() == Kind::Dictionary; }
    bool isObject() const { return kind() == Kind::Object; }
    explicit operator bool() const { return !isNil(); }

    // Number conversions as the platform's numbers and strings answer them: numbers convert
    // between kinds, strings are parsed from their leading number ("12px" -> 12), anything else
    // answers 0 / NO.
    bool boolValue() const;
    int intValue() const;
    NSInteger integerValue() const { return intValue(); }
    std::int64_t longLongValue() const;
    float floatValue() const { return static_cast<float>(doubleValue()); }
    double doubleValue() const;
    // The string itself, or a number's text; empty for other kinds.
    std::string stringValue() const;

    // Typed access: nullptr / nullopt when the value has another kind. The pointers point into
    // this value, so they are refused on temporaries (`v["key"].asString()` would dangle: keep the
    // element in a variable first, or use stringValue()).
    const std::string* asString() const& { return std::get_if<std::string>(&storage_); }
    const Data* asData() const&;
    const Array* asArray() const&;
    const Dictionary* asDictionary() const&;
    const std::string* asString() const&& = delete;
    const Data* asData() const&& = delete;
    const Array* asArray() const&& = delete;
    const Dictionary* asDictionary() const&& = delete;
    std::optional<Date> asDate() const;
    template <class T = NSObject>
    std::shared_ptr<T> object() const
    {
        auto* p = std::get_if<std::shared_ptr<NSObject>>(&storage_);
        return p ? std::dynamic_pointer_cast<T>(*p) : nullptr;
    }
    template <class T>
    bool isKindOfClass() const
    {
        return object<T>() != nullptr;
    }

    // Collection access. Reads answer nil (or 0) on other kinds, absent keys and indexes out of
    // range; writes require the matching kind (std::logic_error otherwise) and copy shared storage.
    std::size_t count() const;
    Value objectForKey(std::string_view key) const;
    Value operator[](std::string_view key) const { return objectForKey(key); }
    Value objectAtIndex(std::size_t index) const;
    Value operator[](std::size_t index) const { return objectAtIndex(index); }
    std::vector<std::string> allKeys() const;
    Array& mutableArray();
    Dictionary& mutableDictionary();
    Data& mutableData();
    void addObject(Value v);
    // Setting nil removes the key.
    void setObject(Value v, std::string_view key);
    void removeObjectForKey(std::string_view key);

    bool operator==(const Value& other) const;
    bool isEqual(const Value& other) const { return *this == other; }
    std::size_t hash() const;

    // The text `%@` prints: strings as they are, numbers as numbers (booleans as 1 and 0), arrays
    // and dictionaries in the platform's old-style property-list form.
    std::string description() const;

    // JSON (nlohmann-json). Booleans, integers and reals stay apart; data, dates and objects are
    // not JSON and make toJSON fail. Failures answer nil / "" and fill *error when given.
    static Value fromJSON(std::string_view text, std::shared_ptr<NSError>* error = nullptr);
    std::string toJSON(bool prettyPrinted = false, std::shared_ptr<NSError>* error = nullptr) const;

    // Property lists (libplist), XML or binary, recognised on reading; other text is read as a
    // string table (NSStringsTable.h), the text form in which dictionaries are also stored. Null, nil and objects are
    // not property-list values and make writing fail. XML dates keep whole seconds (the format's
    // precision); binary ones keep microseconds.
    static Value fromPropertyList(const void* bytes, std::size_t length, std::shared_ptr<NSError>* error = nullptr);
    static Value fromPropertyList(std::string_view bytes, std::shared_ptr<NSError>* error = nullptr)
    {
        return fromPropertyList(bytes.data(), bytes.size(), error);
    }
    static Value fromPropertyListFile(const std::string& path, std::shared_ptr<NSError>* error = nullptr);
    std::optional<Data> toPropertyList(NSPropertyListFormat format, std::shared_ptr<NSError>* error = nullptr) const;
    // Writes atomically (temporary file, then rename).
    bool writePropertyListToFile(const std::string& path, NSPropertyListFormat format,
                                 std::shared_ptr<NSError>* error = nullptr) const;

private:
    struct NullTag {
        bool operator==(const NullTag&) const = default;
    };
    using Storage =
        std::variant<std::monostate, bool, std::int64_t, double, std::string, std::shared_ptr<Data>, Date,
                     std::shared_ptr<Array>, std::shared_ptr<Dictionary>, NullTag, std::shared_ptr<NSObject>>;
    Storage storage_;
    // A mutable reference into the storage was handed out: copies must not share it.
    bool unshareable_ = false;
};

template <>
struct std::hash<Value> {
    std::size_t operator()(const Value& v) const { return v.hash(); }
};
