#pragma once
// Placeholder reader: checks the signature, reads nothing yet.
#include <filesystem>
#include <string_view>

#include "attributes/UnitGraAtt.h"

class TJwsData {
public:
    static constexpr std::string_view kSignature = "JwsData";

    bool CheckSignature(const std::filesystem::path& path);
    bool LoadFile(const std::filesystem::path& path);
    void LoadLayers(TgraAttribute& attributes);

    void Clear();
};
