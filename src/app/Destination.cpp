#include "app/Destination.h"

#include <system_error>

#include "app/BatchPaths.h"

TOutputPlace PlaceOf(const TDestination& destination,
                     const std::function<std::filesystem::path(TSpecialFolder)>& specialFolder,
                     const std::function<void(const std::string&)>& givenFolderMissing)
{
    using K = TDestination::TKind;
    TOutputPlace place;
    switch (destination.Kind) {
    case K::Desktop:
    case K::MyDocuments:
        place.Folder = specialFolder(destination.Kind == K::Desktop ? TSpecialFolder::Desktop : TSpecialFolder::MyDocuments);
        // A platform without such a folder answers empty: write beside each input rather
        // than into the root of the file system.
        if (place.Folder.empty()) place.BesideInput = true;
        else place.Folder = WithTrailingSeparator(place.Folder);
        break;
    case K::BesideInput: place.BesideInput = true; break;
    case K::GivenFolder: {
        const std::filesystem::path given = PathFromNarrow(destination.GivenFolder);
        std::error_code error;
        if (given.empty() || !std::filesystem::is_directory(given, error)) {
            place.BesideInput = true;
            givenFolderMissing(destination.GivenFolder);
        } else {
            place.Folder = WithTrailingSeparator(given);
        }
        break;
    }
    }
    return place;
}

std::string MakeFolder(const std::string& folderText)
{
    const std::filesystem::path folder = PathFromNarrow(folderText);
    std::error_code error;
    if (std::filesystem::is_directory(folder, error)) return {};
    std::filesystem::create_directories(folder, error);
    if (error) return error.message();
    // A file of that name stops mkdir -p too.
    if (!std::filesystem::is_directory(folder, error)) return "a file has that name";
    return {};
}
