/*
 * Tessaro: Jw_cad drawings (.jww, .jws, .jwc, .jwk) into 3D documents (COLLADA .dae, compact
 * COLLADA, binary glTF .glb) or CAD drawings (DXF .dxf), converted in memory. A C interface: it compiles as C99 and as
 * C++, and no function throws or aborts, whatever its input. Every text is UTF-8.
 *
 *   tessaro_options* options = tessaro_options_new();
 *   tessaro_options_set(options, "format", "glb");
 *   tessaro_document* document = NULL;
 *   tessaro_status status = tessaro_convert(bytes, size, TESSARO_FORMAT_AUTO, options, "plan", &document);
 *   if (document) fwrite(tessaro_document_bytes(document), 1, tessaro_document_size(document), out);
 *   tessaro_document_free(document);
 *   tessaro_options_free(options);
 *
 * A conversion gives a document with every status before TESSARO_INVALID_ARGUMENT: a drawing
 * that could not be converted whole gives the document of what was converted.
 */
#ifndef TESSARO_H
#define TESSARO_H

#include <stddef.h>

#if defined(_WIN32)
#if defined(TESSARO_BUILDING)
#define TESSARO_API __declspec(dllexport)
#else
#define TESSARO_API __declspec(dllimport)
#endif
#elif defined(__GNUC__)
#define TESSARO_API __attribute__((visibility("default")))
#else
#define TESSARO_API
#endif

#ifdef __cplusplus
extern "C" {
#endif

typedef enum tessaro_status {
    TESSARO_OK = 0,                   /* done; a drawing converted whole */
    TESSARO_NOT_THIS_FORMAT = 1,      /* the bytes lack the format's signature: no geometry */
    TESSARO_DAMAGED = 2,              /* reading stopped inside the drawing: what was read */
    TESSARO_UNSUPPORTED_VERSION = 3,  /* a version not read: nothing after the version */
    TESSARO_TOO_LARGE = 4,            /* the drawing declares more than memory holds */
    TESSARO_LIMIT_REACHED = 5,        /* figure budget or block bounds reached: what fitted */
    TESSARO_INVALID_ARGUMENT = 6,     /* a NULL pointer, or a value out of its enum */
    TESSARO_UNKNOWN_OPTION = 7,       /* an option name that is none of the words */
    TESSARO_BAD_OPTION_VALUE = 8,     /* a value the option does not take */
    TESSARO_OUT_OF_MEMORY = 9,
    TESSARO_FAILED = 10               /* any other failure */
} tessaro_status;

/* The drawing's format; AUTO takes the one whose signature the bytes begin with. */
typedef enum tessaro_format {
    TESSARO_FORMAT_AUTO = 0,
    TESSARO_FORMAT_JWW = 1,
    TESSARO_FORMAT_JWS = 2,
    TESSARO_FORMAT_JWC = 3,
    TESSARO_FORMAT_JWK = 4
} tessaro_format;

/* The attribute table's background: black default pens on a light one, white on a dark one. */
typedef enum tessaro_background { TESSARO_BACKGROUND_LIGHT = 0, TESSARO_BACKGROUND_DARK = 1 } tessaro_background;

typedef struct tessaro_options tessaro_options;
typedef struct tessaro_document tessaro_document;
typedef struct tessaro_engine tessaro_engine;

/* New options with the defaults: COLLADA, x1, arcs in 12 segments, every kind of entity but
 * solids, the dark background carried. NULL when memory runs out. */
TESSARO_API tessaro_options* tessaro_options_new(void);
/* Frees options made by tessaro_options_new; NULL is ignored. */
TESSARO_API void tessaro_options_free(tessaro_options* options);

/* Sets one option as the command line's word without its dashes: "format" dae|dae-compact|glb|dxf,
 * "scale" 1|10|100|1000, "marker" 0..7, "marker-size" MM, "arcs" count:N|angle:DEG[:MIN]|
 * length:MM[:MIN], "include"/"exclude" a comma-separated list of hidden,aux,dims,hatch,points,
 * solids,texts, "background" light|dark (every drawing starts with it), "font" a font file
 * that draws every text, "heights" m|mm|off (height texts lift the lines they mark into
 * walls and roofs), "extrude" LAYER=METRES[,...] (a layer, "0-1" or its name, rises; each
 * call adds layers, "" drops them). Numbers are clamped into
 * their ranges when converting. TESSARO_UNKNOWN_OPTION for an unknown name,
 * TESSARO_BAD_OPTION_VALUE for a value it does not take: the options are then unchanged. */
TESSARO_API tessaro_status tessaro_options_set(tessaro_options* options, const char* name, const char* value);
/* The background a drawing starts with while "background" is not set; to convert drawings
 * one after another as a batch does, pass each document's background_after to the next.
 * TESSARO_INVALID_ARGUMENT for a value that is no tessaro_background. */
TESSARO_API tessaro_status tessaro_options_set_carried_background(tessaro_options* options,
                                                                  tessaro_background background);
/* The threads one drawing may use: 1 by default, 0 one per processor core (at most 8). A
 * drawing of few figures is converted on one. */
TESSARO_API tessaro_status tessaro_options_set_threads(tessaro_options* options, unsigned threads);

/* A TrueType or OpenType font (its `size` bytes, copied) that draws every text, for a
 * program without system fonts or files (a web page); size 0 drops it. A "font" file set
 * by name comes first. Bytes that are no font leave texts out, as no font found does.
 * TESSARO_INVALID_ARGUMENT for NULL options, or NULL bytes with a size. */
TESSARO_API tessaro_status tessaro_options_set_font_data(tessaro_options* options, const void* bytes, size_t size);

/* Converts the `size` bytes of a drawing in `format` into a document in memory, written into
 * *document (free it with tessaro_document_free). options NULL: the defaults; drawing_name
 * (may be NULL) names the glTF root node. A status of TESSARO_INVALID_ARGUMENT or after it
 * leaves *document NULL; the others give the document of what was converted. */
TESSARO_API tessaro_status tessaro_convert(const void* bytes, size_t size, tessaro_format format,
                                           const tessaro_options* options, const char* drawing_name,
                                           tessaro_document** document);

/* An engine converts as tessaro_convert does and keeps its memory from one drawing to the
 * next. One engine converts one drawing at a time; separate engines may run on separate
 * threads. tessaro_engine_new gives NULL when memory runs out; free ignores NULL. */
TESSARO_API tessaro_engine* tessaro_engine_new(void);
TESSARO_API void tessaro_engine_free(tessaro_engine* engine);
TESSARO_API tessaro_status tessaro_engine_convert(tessaro_engine* engine, const void* bytes, size_t size,
                                                  tessaro_format format, const tessaro_options* options,
                                                  const char* drawing_name, tessaro_document** document);

/* Frees a document and its bytes; NULL is ignored. */
TESSARO_API void tessaro_document_free(tessaro_document* document);
/* The document's bytes and their count, valid until the document is freed. NULL: NULL, 0. */
TESSARO_API const void* tessaro_document_bytes(const tessaro_document* document);
TESSARO_API size_t tessaro_document_size(const tessaro_document* document);
/* TESSARO_OK when the drawing was read to its end, else why reading stopped
 * (NOT_THIS_FORMAT, DAMAGED, UNSUPPORTED_VERSION, TOO_LARGE), and the byte offset where the
 * read that ended reading began. NULL: TESSARO_INVALID_ARGUMENT, 0. */
TESSARO_API tessaro_status tessaro_document_read_status(const tessaro_document* document);
TESSARO_API size_t tessaro_document_read_offset(const tessaro_document* document);
/* 1 when the figure budget stopped the walk, or block placements past the expansion's bounds
 * were left out; 0 otherwise and for NULL. */
TESSARO_API int tessaro_document_budget_reached(const tessaro_document* document);
TESSARO_API int tessaro_document_blocks_cut(const tessaro_document* document);
/* What the document holds: line segments, triangles (a filled quadrilateral counts two) and
 * layers with any geometry. NULL: 0. */
TESSARO_API size_t tessaro_document_segments(const tessaro_document* document);
TESSARO_API size_t tessaro_document_triangles(const tessaro_document* document);
TESSARO_API int tessaro_document_layers(const tessaro_document* document);
/* The drawing's texts (with "include" texts): texts left out for want of a font,
 * characters the font lacks (drawn as their boxes); without it, the texts not converted.
 * NULL: 0. */
TESSARO_API size_t tessaro_document_texts_without_font(const tessaro_document* document);
TESSARO_API size_t tessaro_document_missing_glyphs(const tessaro_document* document);
TESSARO_API size_t tessaro_document_texts_left_out(const tessaro_document* document);
/* With "heights" read: the height texts beyond 10,000 m, up or down, which mark nothing.
 * NULL: 0. */
TESSARO_API size_t tessaro_document_heights_out_of_range(const tessaro_document* document);
/* The drawing's scale: drawing millimetres per paper millimetre (100 at 1:100), the factor by
 * which a size on paper (a line width) becomes a size in the drawing; times 0.001 and the
 * "scale" option's factor, a size in the document. 1 for symbol files and for a drawing not
 * read as far as its scale. NULL: 1. */
TESSARO_API double tessaro_document_drawing_scale(const tessaro_document* document);
/* 1 when the drawing hides layer `layer` (group * 16 + layer number, 0..255), by the layer's
 * own state or its group's; its entities are in the document while "include" has "hidden".
 * 0 otherwise, for a layer out of range and for NULL. */
TESSARO_API int tessaro_document_layer_hidden(const tessaro_document* document, int layer);
/* The background the drawing leaves for the next one (a JWW drawing may change it): the one
 * its pens were made for, from its pen 0, or for a drawing without pens of its own the one it
 * started with. A front end shows the drawing on it. NULL: TESSARO_BACKGROUND_DARK, the
 * default. */
TESSARO_API tessaro_background tessaro_document_background_after(const tessaro_document* document);

/* A short English phrase for the status ("damaged", ...); never NULL, also for a value out
 * of the enum. */
TESSARO_API const char* tessaro_status_text(tessaro_status status);
/* The library's version, "MAJOR.MINOR.PATCH". */
TESSARO_API const char* tessaro_version(void);

#ifdef __cplusplus
}
#endif

#endif /* TESSARO_H */
