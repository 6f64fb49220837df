// QLPLJSONValues.h: the small typed look-ups every recipe reader shares. A key that is absent
// and a key of the wrong type read alike (null), so readers test one thing.
#pragma once

#include <yajl/yajl_tree.h>

#include <cfloat>
#include <cmath>
#include <cstring>

// The member `key` of an object, or null when obj is not an object or has no such key. The
// first of duplicated keys wins.
inline yajl_val QLPLObjectMember(yajl_val obj, const char *key)
{
    if (!YAJL_IS_OBJECT(obj))
        return nullptr;
    for (size_t i = 0; i < obj->u.object.len; ++i) {
        if (std::strcmp(obj->u.object.keys[i], key) == 0)
            return obj->u.object.values[i];
    }
    return nullptr;
}

// Any JSON number yajl could read as a double. A number beyond the double range is refused (yajl
// leaves it at infinity and says so).
inline bool QLPLNumberFromVal(yajl_val val, double *out)
{
    if (!YAJL_IS_DOUBLE(val))
        return false;
    *out = YAJL_GET_DOUBLE(val);
    return std::isfinite(*out);
}

inline bool QLPLNumberMember(yajl_val obj, const char *key, double *out)
{
    return QLPLNumberFromVal(QLPLObjectMember(obj, key), out);
}

// Kernels take most values in single precision, and a double beyond the float range has no
// defined conversion: such a value (read or derived) fails its processor instead.
inline bool QLPLFloatFromDouble(double v, float *out)
{
    if (!(std::fabs(v) <= static_cast<double>(FLT_MAX)))
        return false;
    *out = static_cast<float>(v);
    return true;
}

inline bool QLPLFloatMember(yajl_val obj, const char *key, float *out)
{
    double v;
    return QLPLNumberMember(obj, key, &v) && QLPLFloatFromDouble(v, out);
}

// A whole number (yajl's integer flag: "255.0" and "1e2" are not whole) within lo..hi.
inline bool QLPLIntegerFromVal(yajl_val val, long long lo, long long hi, long long *out)
{
    if (!YAJL_IS_INTEGER(val))
        return false;
    long long v = YAJL_GET_INTEGER(val);
    if (v < lo || v > hi)
        return false;
    *out = v;
    return true;
}

inline const char *QLPLStringMember(yajl_val obj, const char *key)
{
    return YAJL_GET_STRING(QLPLObjectMember(obj, key));
}

inline bool QLPLStringIs(const char *s, const char *word)
{
    return s != nullptr && std::strcmp(s, word) == 0;
}
