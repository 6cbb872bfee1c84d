#include "app/OutcomeTexts.h"

#include "figures/FigUnit.h"
#include "formats/jww/JwwEntityModel.h"

namespace {

// Read statuses that cut a file short after its signature matched.
bool ReadCutShort(const TFileOutcome& o) { return o.SignatureMatched && !o.Read; }

}  // namespace

std::vector<std::string> OutcomeProblems(const TFileOutcome& o)
{
    std::vector<std::string> problems;
    if (!o.Failure.empty()) {
        problems.push_back("could not be converted (" + o.Failure + "); the document already there, if any, is kept");
        return problems;
    }
    if (ReadCutShort(o)) {
        problems.push_back(std::string(o.Read.Description()) + ": reading stopped at byte " +
                           std::to_string(o.Read.offset) + "; the document holds what was read before it");
    }
    if (o.BlocksCut) {
        problems.push_back("more block placements than the limits allow (" +
                           std::to_string(TJwwEntityModel::kMaxBlockTrees) + " placements, " +
                           std::to_string(TJwwEntityModel::kMaxExpandedRecords) +
                           " expanded records); those past them are left out");
    }
    if (o.BudgetReached) {
        const std::string most = std::to_string(TFigureStore::kMaxFigures);
        problems.push_back("more than " + most + " figures; the document holds the first " + most);
    }
    return problems;
}

std::vector<std::string> OutcomeNotes(const TFileOutcome& o)
{
    std::vector<std::string> notes;
    if (!o.Failure.empty()) return notes;
    if (o.TextsWithoutFont > 0)
        notes.push_back(std::to_string(o.TextsWithoutFont) + " texts left out: no font found for them (--font FILE chooses one)");
    if (o.MissingGlyphs > 0)
        notes.push_back(std::to_string(o.MissingGlyphs) + " characters the font lacks, drawn as boxes");
    if (o.SignatureMatched && o.Segments == 0 && o.Triangles == 0 && o.TextsLeftOut > 0)
        notes.push_back("no geometry (texts are converted with --text)");
    if (o.HeightsOutOfRange > 0)
        notes.push_back(std::to_string(o.HeightsOutOfRange) + " height texts beyond 10,000 m mark nothing");
    return notes;
}

std::string OutcomeMark(const TFileOutcome& o)
{
    if (!o.Failure.empty()) return " ― 変換できませんでした（以前の出力はそのまま）";
    std::string mark;
    if (o.Read.status == TReadStatus::Unreadable) mark += " ― 読み込めませんでした";
    else if (!o.SignatureMatched) mark += " ― 形式が違います";
    if (ReadCutShort(o)) mark += " ― " + std::to_string(o.Read.offset) + " バイト目で読み取り中断";
    if (o.BlocksCut) mark += " ― ブロック展開の上限で打ち切り";
    if (o.BudgetReached) mark += " ― 図形数の上限で打ち切り";
    if (!o.Written) mark += " ― 保存できませんでした";
    if (!o.Failure.empty()) return mark;
    if (o.TextsWithoutFont > 0) mark += " ― 文字のフォントが見つかりません";
    if (o.MissingGlyphs > 0) mark += " ― フォントにない文字 " + std::to_string(o.MissingGlyphs) + " 個を枠で表示";
    if (o.SignatureMatched && o.Segments == 0 && o.Triangles == 0 && o.TextsLeftOut > 0)
        mark += " ― 図形なし（文字は 文字(T) で変換）";
    if (o.HeightsOutOfRange > 0) mark += " ― 10,000 m を超える高さ " + std::to_string(o.HeightsOutOfRange) + " 個は無視";
    return mark;
}
