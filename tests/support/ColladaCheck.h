#pragma once
// Checks of COLLADA documents for tests: validation against the official COLLADA 1.4.1 schema
// (xmllint), loading in assimp, and a line-by-line comparison with an expected document.
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>

// Validates the document with xmllint against the COLLADA 1.4.1 schema, offline. Nothing when
// xmllint or the schema is not installed; "" when the document is valid; else xmllint's report.
std::optional<std::string> CheckColladaSchema(const std::filesystem::path& document);

// Loads the document in assimp: a raw import must succeed, and the importer must log no
// warning or error (post-processing messages are not the document's concern). Nothing when
// assimp is not installed; "" when it loads cleanly; else what assimp said.
std::optional<std::string> CheckAssimpImport(const std::filesystem::path& document);

// Both checks; "" when every installed tool accepts the document, nothing when neither tool is
// installed.
std::optional<std::string> CheckColladaDocument(const std::filesystem::path& document);

// Compares two documents line by line (CR LF lines), ignoring the created and modified lines;
// decimal numbers may differ by tolerance (or a few units in the last place of a large value).
// "" when they agree; else the first differences.
std::string CompareColladaDocuments(std::string_view actual, std::string_view expected, double tolerance = 2e-9);
