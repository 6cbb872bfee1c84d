#pragma once
// Where a batch's documents go: the user's choice (the settings' destination, or the command
// line's --out and --beside), and the folder it comes to when the batch starts.
#include <filesystem>
#include <functional>
#include <string>

enum class TSpecialFolder { Desktop, MyDocuments };

struct TDestination {
    enum class TKind { Desktop, MyDocuments, BesideInput, GivenFolder };
    TKind Kind = TKind::Desktop;
    std::string GivenFolder;  // GivenFolder: the folder as typed (narrow text)
};

struct TOutputPlace {
    std::filesystem::path Folder;  // ends in a separator; unused when BesideInput
    bool BesideInput = false;
};

// The place for `destination`. `specialFolder` answers the platform's Desktop or Documents
// (empty when it has none: then each document goes beside its input); a given folder that
// names no folder is reported to `givenFolderMissing` with its text, and each document then
// goes beside its input.
TOutputPlace PlaceOf(const TDestination& destination,
                     const std::function<std::filesystem::path(TSpecialFolder)>& specialFolder,
                     const std::function<void(const std::string&)>& givenFolderMissing);

// Makes the folder `folderText` (narrow text) names with its missing parents, as mkdir -p
// does, for a folder the user names for this run. An empty answer when the folder is there
// now; else why it cannot be (a path under a file, no permission), and nothing is made.
std::string MakeFolder(const std::string& folderText);
