#pragma once
// The drawing of a JWW drawing or a JWS figure file: its entities as they are, each block
// definition a block of its own and each placement a placed block, under the same skip rules
// as the walk into Figures. A placement is drawn exploded in place where a block cannot hold
// it: its definition places itself (directly or through others), its map collapses, or the
// options leave hidden layers out (a member's layer then depends on its placement).
class TJwwEntityModel;
class TJwwData;
struct TConversionContext;

// `tables` is the drawing's header (its line types and pen widths); null for a figure file.
void DrawJwwModel(TJwwEntityModel& model, const TJwwData* tables, double scale, TConversionContext& context);
