#include "output/DocumentWriter.h"

#include "output/ColladaCompactWriter.h"
#include "output/ColladaWriter.h"
#include "output/DxfWriter.h"
#include "output/GltfWriter.h"

bool WriteDocument(const TConversionContext& context, TByteSink& document)
{
    switch (context.Options.Format) {
    case TOutputFormat::DaeCompact: return WriteColladaCompact(context, document);
    case TOutputFormat::Glb: return WriteGltf(context, document);
    case TOutputFormat::Dxf: return WriteDxf(context, document);
    case TOutputFormat::Dae: break;
    }
    return WriteCollada(context, document);
}
