#include "engine/OptionRequest.h"

#include <algorithm>

#include "util/Func_.h"

double ClampedNumber(const TNumberOption& option, std::string_view text)
{
    if (option.Whole) {
        const int32_t count = StrToIntDef0(text);
        return std::clamp(count == 0 ? static_cast<int32_t>(option.ZeroAs) : count, static_cast<int32_t>(option.Min),
                          static_cast<int32_t>(option.Max));
    }
    const double value = static_cast<double>(StrToFloatDef0(text));
    return std::clamp(value == 0 ? option.ZeroAs : value, option.Min, option.Max);
}

std::string ClampedText(const TNumberOption& option, std::string_view text)
{
    const double value = ClampedNumber(option, text);
    return option.Whole ? std::to_string(static_cast<int32_t>(value)) : FloatToText(value);
}

namespace {

double Number(const TOptionRequest& request, std::string TOptionRequest::*text)
{
    for (const TNumberOption& option : kNumberOptions)
        if (option.Text == text) return ClampedNumber(option, request.*text);
    return 0;
}

int32_t Count(const TOptionRequest& request, std::string TOptionRequest::*text)
{
    return static_cast<int32_t>(Number(request, text));
}

}  // namespace

TConversionOptions MakeOptions(const TOptionRequest& request)
{
    TConversionOptions o;
    o.Include = request.Include;

    constexpr double kScales[] = {1, 10, 100, 1000};
    o.CoordinateScale = request.ScaleItem >= 0 && request.ScaleItem < 4 ? kScales[request.ScaleItem] : 1;
    o.PointMarkerShape = request.MarkerShape >= 0 && request.MarkerShape < 8 ? request.MarkerShape : -1;
    o.PointMarkerSize = Number(request, &TOptionRequest::MarkerSize);

    o.ArcMode = request.ArcMode;
    o.ArcDivisions = Count(request, &TOptionRequest::ArcDivisions);
    o.ArcAngleDegrees = Number(request, &TOptionRequest::ArcAngle);
    o.ArcAngleMinDivisions = Count(request, &TOptionRequest::ArcAngleMinDivisions);
    o.ArcLength = Number(request, &TOptionRequest::ArcLength);
    o.ArcLengthMinDivisions = Count(request, &TOptionRequest::ArcLengthMinDivisions);

    o.Format = request.Format;
    if (o.Format == TOutputFormat::Dxf) o.Include.Texts = !request.TextsExcluded;
    o.FontFile = std::filesystem::path(request.FontFile);
    o.Background = request.Background;
    o.Heights = request.Heights;
    o.Extrude = request.Extrude;
    return o;
}
