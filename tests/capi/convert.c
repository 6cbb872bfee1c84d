/* Converts the drawing named on the command line in memory, in each document format, through
 * the C interface, and checks what the interface promises: statuses, documents of damaged
 * and foreign bytes, options left unchanged by a value they do not take, texts drawn with the
 * font file named second (when it is), NULL arguments.
 * Prints one line; exits 1 when a check failed. */
#include <stdio.h>
#include <stdlib.h>
#include <string.h>

#include <tessaro.h>

static int failures = 0;
static char name[1024];  /* the drawing's file name without its extension */

#define CHECK(condition) check((condition), #condition, __LINE__)
static void check(int ok, const char* what, int line)
{
    if (!ok) {
        fprintf(stderr, "convert.c:%d: failed: %s\n", line, what);
        ++failures;
    }
}

static int SameBytes(const tessaro_document* a, const tessaro_document* b)
{
    return a && b && tessaro_document_size(a) == tessaro_document_size(b) &&
           memcmp(tessaro_document_bytes(a), tessaro_document_bytes(b), tessaro_document_size(a)) == 0;
}

static int StartsWith(const tessaro_document* document, const char* magic)
{
    return document && tessaro_document_size(document) > strlen(magic) &&
           memcmp(tessaro_document_bytes(document), magic, strlen(magic)) == 0;
}

/* Converts with `options` and gives the document, checking the status is `expected`. */
static tessaro_document* Convert(const void* bytes, size_t size, tessaro_format format, const tessaro_options* options,
                                 tessaro_status expected, int line)
{
    tessaro_document* document = NULL;
    const tessaro_status status = tessaro_convert(bytes, size, format, options, name, &document);
    check(status == expected, tessaro_status_text(status), line);
    check(document != NULL, "a document", line);
    return document;
}

int main(int argc, char** argv)
{
    static const struct { const char* name; const char* magic; } kFormats[] = {
        {"dae", "<?xml"}, {"dae-compact", "<?xml"}, {"glb", "glTF"}};
    /* Values the words do not take, and names that are none: each leaves the options alone. */
    static const struct { const char* name; const char* value; tessaro_status expected; } kRefused[] = {
        {"format", "obj", TESSARO_BAD_OPTION_VALUE}, {"arcs", "count:", TESSARO_BAD_OPTION_VALUE},
        {"exclude", "hidden,aux,dims,hatch,points,x", TESSARO_BAD_OPTION_VALUE},
        {"--format", "dae", TESSARO_UNKNOWN_OPTION}, {"jobs", "2", TESSARO_UNKNOWN_OPTION},
        {"heights", "cm", TESSARO_BAD_OPTION_VALUE}, {"extrude", "0-1", TESSARO_BAD_OPTION_VALUE},
        {"extrude", "0-1=20000", TESSARO_BAD_OPTION_VALUE}};
    static const char kGarbage[] = "no drawing begins with these bytes";
    if (argc < 2) {
        fprintf(stderr, "usage: %s DRAWING [FONT]\n", argv[0]);
        return 2;
    }

    FILE* file = fopen(argv[1], "rb");
    const long end = file && fseek(file, 0, SEEK_END) == 0 ? ftell(file) : -1;
    const size_t size = end > 0 ? (size_t)end : 0;
    char* bytes = size ? malloc(size) : NULL;
    if (!bytes || fseek(file, 0, SEEK_SET) != 0 || fread(bytes, 1, size, file) != size) {
        fprintf(stderr, "%s: could not be read\n", argv[1]);
        return 2;
    }
    fclose(file);

    const char* base = strrchr(argv[1], '/') ? strrchr(argv[1], '/') + 1 : argv[1];
    snprintf(name, sizeof name, "%s", base);
    char* dot = strrchr(name, '.');
    if (dot && dot != name) *dot = '\0';
    tessaro_options* options = tessaro_options_new();
    size_t sizes[3] = {0, 0, 0};
    tessaro_document* glb = NULL;
    for (size_t i = 0; i < 3; ++i) {
        CHECK(tessaro_options_set(options, "format", kFormats[i].name) == TESSARO_OK);
        tessaro_document* document = Convert(bytes, size, TESSARO_FORMAT_AUTO, options, TESSARO_OK, __LINE__);
        CHECK(StartsWith(document, kFormats[i].magic));
        CHECK(tessaro_document_read_status(document) == TESSARO_OK && tessaro_document_segments(document) > 0);
        sizes[i] = tessaro_document_size(document);
        if (i == 2) glb = document; else tessaro_document_free(document);
    }

    /* The same bytes from an engine used twice, on any number of threads, and after every
     * refused option; another scale changes them. */
    tessaro_engine* engine = tessaro_engine_new();
    tessaro_document* again = NULL;
    CHECK(tessaro_engine_convert(engine, bytes, size, TESSARO_FORMAT_JWW, options, name, &again) == TESSARO_OK);
    tessaro_document_free(again);
    CHECK(tessaro_engine_convert(engine, bytes, size, TESSARO_FORMAT_JWW, options, name, &again) == TESSARO_OK);
    CHECK(SameBytes(glb, again));
    tessaro_document_free(again);
    tessaro_engine_free(engine);
    for (size_t i = 0; i < sizeof kRefused / sizeof kRefused[0]; ++i)
        CHECK(tessaro_options_set(options, kRefused[i].name, kRefused[i].value) == kRefused[i].expected);
    CHECK(tessaro_options_set_threads(options, 0) == TESSARO_OK);
    tessaro_document* document = Convert(bytes, size, TESSARO_FORMAT_AUTO, options, TESSARO_OK, __LINE__);
    CHECK(SameBytes(glb, document));
    tessaro_document_free(document);
    CHECK(tessaro_options_set(options, "scale", "1000") == TESSARO_OK);
    document = Convert(bytes, size, TESSARO_FORMAT_AUTO, options, TESSARO_OK, __LINE__);
    CHECK(!SameBytes(glb, document) && StartsWith(document, "glTF"));
    tessaro_document_free(document);

    /* Foreign bytes and a cut drawing still give their documents. */
    document = Convert(kGarbage, sizeof kGarbage, TESSARO_FORMAT_AUTO, options, TESSARO_NOT_THIS_FORMAT, __LINE__);
    CHECK(StartsWith(document, "glTF") && tessaro_document_segments(document) == 0);
    CHECK(tessaro_document_read_status(document) == TESSARO_NOT_THIS_FORMAT);
    tessaro_document_free(document);
    tessaro_document_free(Convert(bytes, size, TESSARO_FORMAT_JWS, options, TESSARO_NOT_THIS_FORMAT, __LINE__));
    tessaro_document_free(Convert(bytes, 0, TESSARO_FORMAT_AUTO, NULL, TESSARO_NOT_THIS_FORMAT, __LINE__));
    document = Convert(bytes, size / 2, TESSARO_FORMAT_AUTO, options, TESSARO_DAMAGED, __LINE__);
    CHECK(tessaro_document_read_offset(document) <= size / 2 && StartsWith(document, "glTF"));
    CHECK(tessaro_document_read_status(document) == TESSARO_DAMAGED);
    tessaro_document_free(document);

    /* Texts: left out and counted without "texts"; drawn from font bytes; with bytes that are
     * no font, left out and counted again, the rest unchanged. */
    tessaro_options* texts = tessaro_options_new();
    tessaro_document* plain = Convert(bytes, size, TESSARO_FORMAT_AUTO, texts, TESSARO_OK, __LINE__);
    CHECK(tessaro_document_texts_left_out(plain) > 0);
    CHECK(tessaro_options_set(texts, "include", "texts") == TESSARO_OK);
    CHECK(tessaro_options_set_font_data(texts, kGarbage, sizeof kGarbage) == TESSARO_OK);
    document = Convert(bytes, size, TESSARO_FORMAT_AUTO, texts, TESSARO_OK, __LINE__);
    CHECK(tessaro_document_texts_without_font(document) > 0 && tessaro_document_texts_left_out(document) == 0);
    CHECK(tessaro_document_segments(document) == tessaro_document_segments(plain));
    tessaro_document_free(document);
    if (argc > 2) {
        FILE* font = fopen(argv[2], "rb");
        static char fontBytes[16 << 20];
        const size_t fontSize = font ? fread(fontBytes, 1, sizeof fontBytes, font) : 0;
        if (font) fclose(font);
        CHECK(tessaro_options_set_font_data(texts, fontBytes, fontSize) == TESSARO_OK && fontSize > 0);
        document = Convert(bytes, size, TESSARO_FORMAT_AUTO, texts, TESSARO_OK, __LINE__);
        CHECK(tessaro_document_texts_without_font(document) == 0);
        CHECK(tessaro_document_segments(document) > tessaro_document_segments(plain));
        tessaro_document_free(document);
    }
    CHECK(tessaro_options_set_font_data(texts, NULL, 1) == TESSARO_INVALID_ARGUMENT);
    tessaro_document_free(plain);
    tessaro_options_free(texts);

    /* Heights: the drawing's height texts make walls (triangles, with solids left out); a
     * layer raised and dropped again leaves the document as it was. */
    tessaro_options* heights = tessaro_options_new();
    CHECK(tessaro_options_set(heights, "format", "glb") == TESSARO_OK);
    plain = Convert(bytes, size, TESSARO_FORMAT_AUTO, heights, TESSARO_OK, __LINE__);
    CHECK(tessaro_options_set(heights, "extrude", "0-1=3") == TESSARO_OK && tessaro_options_set(heights, "extrude", "") == TESSARO_OK);
    document = Convert(bytes, size, TESSARO_FORMAT_AUTO, heights, TESSARO_OK, __LINE__);
    CHECK(SameBytes(plain, document));
    tessaro_document_free(document);
    CHECK(tessaro_options_set(heights, "heights", "m") == TESSARO_OK);
    document = Convert(bytes, size, TESSARO_FORMAT_AUTO, heights, TESSARO_OK, __LINE__);
    CHECK(tessaro_document_triangles(plain) == 0 && tessaro_document_triangles(document) > 0);
    CHECK(tessaro_document_heights_out_of_range(document) == 0 && tessaro_document_heights_out_of_range(NULL) == 0);
    tessaro_document_free(document);
    tessaro_document_free(plain);
    tessaro_options_free(heights);

    /* NULL and out-of-range arguments are refused, and nothing is handed back. */
    document = (tessaro_document*)options;
    CHECK(tessaro_convert(NULL, size, TESSARO_FORMAT_AUTO, NULL, NULL, &document) == TESSARO_INVALID_ARGUMENT);
    CHECK(document == NULL);
    CHECK(tessaro_convert(bytes, size, (tessaro_format)99, NULL, NULL, &document) == TESSARO_INVALID_ARGUMENT);
    CHECK(tessaro_options_set(options, "format", NULL) == TESSARO_INVALID_ARGUMENT);
    CHECK(tessaro_options_set_carried_background(options, (tessaro_background)7) == TESSARO_INVALID_ARGUMENT);
    CHECK(!tessaro_document_bytes(NULL) && tessaro_document_read_status(NULL) == TESSARO_INVALID_ARGUMENT);
    CHECK(tessaro_document_drawing_scale(NULL) == 1 && tessaro_document_layer_hidden(NULL, 0) == 0);
    CHECK(tessaro_document_drawing_scale(glb) > 0 && tessaro_document_layer_hidden(glb, 256) == 0 &&
          tessaro_document_layer_hidden(glb, -1) == 0);

    printf("tessaro %s C interface: %s in memory as dae %zu, dae-compact %zu, glb %zu bytes (%zu segments, "
           "%zu triangles, %d layers): %d failure(s)\n",
           tessaro_version(), argv[1], sizes[0], sizes[1], sizes[2], tessaro_document_segments(glb),
           tessaro_document_triangles(glb), tessaro_document_layers(glb), failures);
    tessaro_document_free(glb);
    tessaro_options_free(options);
    free(bytes);
    return failures ? 1 : 0;
}
