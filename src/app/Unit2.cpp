#include "app/Unit2.h"

void TForm2::Show()
{
    visible_ = true;
    view_.ShowProgress();
}

void TForm2::Hide()
{
    visible_ = false;
    view_.HideProgress();
}

void TForm2::Clear()
{
    entries_.clear();
    itemIndex_ = -1;
    view_.ClearProgress();
}

void TForm2::Append(const std::filesystem::path& path)
{
    entries_.push_back(path);
    itemIndex_ = static_cast<int>(entries_.size()) - 1;
    view_.AppendProgress(path);
}
