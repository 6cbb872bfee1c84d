#pragma once
// TForm2, the progress window: the list of the batch's files with the current one
// selected. It keeps the list's content and passes every change to the view.
#include <filesystem>
#include <string_view>
#include <vector>

#include "app/FormView.h"

class TForm2 {
public:
    static constexpr std::string_view kCaption = "変換処理";

    explicit TForm2(TFormView& view) : view_(view) {}

    void Show();
    void Hide();
    void Clear();
    // Appends the path and selects it.
    void Append(const std::filesystem::path& path);

    bool Visible() const { return visible_; }
    const std::vector<std::filesystem::path>& Entries() const { return entries_; }
    int ItemIndex() const { return itemIndex_; }  // -1 when nothing is selected

private:
    TFormView& view_;
    std::vector<std::filesystem::path> entries_;
    int itemIndex_ = -1;
    bool visible_ = false;
};
