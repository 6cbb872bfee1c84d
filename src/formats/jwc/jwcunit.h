#pragma once
// Placeholder reader: checks the signature, reads nothing yet.
#include <filesystem>
#include <string_view>

#include "attributes/UnitGraAtt.h"

class TJwcData {
public:
    static constexpr std::string_view kSignature = "jw_cad(c)data.......";

    bool CheckSignature(const std::filesystem::path& path);
    bool LoadFile(const std::filesystem::path& path);
    void LoadLayers(TgraAttribute& attributes);

    void Clear();
};
