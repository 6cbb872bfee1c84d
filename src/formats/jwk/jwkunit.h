#pragma once
// Placeholder reader: checks the signature, reads nothing yet.
#include <filesystem>
#include <string_view>

#include "attributes/UnitGraAtt.h"

class TJwkData {
public:
    static constexpr std::string_view kSignature = "jw_cad(c)sym........";

    bool CheckSignature(const std::filesystem::path& path);
    bool LoadFile(const std::filesystem::path& path);
    void LoadLayers(TgraAttribute& attributes);

    void Clear();
};
