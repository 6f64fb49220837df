#pragma once
// Our one SQLite schema, shared by the theme store and theme files: application id
// kQZThemeApplicationID, user_version 1, journal mode DELETE (one file, no side files), and the
// table "attribute" with one row per set attribute:
//   name TEXT PRIMARY KEY, red REAL, green REAL, blue REAL, alpha REAL, flag INTEGER
// A colour fills red, green, blue and alpha; a flag fills flag. No row means unset. Reading
// ignores names that are no attribute and rows of the wrong form, and clamps components to 0..1.

#include <cstdint>
#include <optional>
#include <string>

#include "Model/OverallAppearance.h"
#include "Model/QZSQLiteDatabase.h"

namespace customizer {

// "TSLC".
inline constexpr int32_t kQZThemeApplicationID = 0x54534c43;
inline constexpr int kQZThemeSchemaVersion = 1;

// Nullopt when the database is a theme database this version reads: our application id, a
// user_version not above ours, "attribute" a plain table with exactly our columns, and a clean
// quick check. Otherwise why not.
std::optional<std::string> QZCheckThemeDatabase(QZSQLiteDatabase& database);
// Makes an empty database one of ours (schema and header values).
bool QZCreateThemeSchema(QZSQLiteDatabase& database, std::string* error);
std::optional<OverallAppearance> QZReadThemeRecord(QZSQLiteDatabase& database, std::string* error);
// Writes the attributes whose values differ between `from` (what the database holds) and `to`,
// in one transaction: all or nothing.
bool QZWriteThemeChanges(QZSQLiteDatabase& database, const OverallAppearance& from, const OverallAppearance& to,
                         std::string* error);

// A theme file opened read-only, checked and read; its bytes never change. Nullopt with the
// reason when it is no theme file of ours.
std::optional<OverallAppearance> QZReadThemeFile(const std::string& path, std::string* error);
// Whether it is one, without reading the record.
bool QZValidateThemeFile(const std::string& path, std::string* error);

}  // namespace customizer
