# Entry points for a fresh Debian 12 machine:
#   make demo   installs the compiler and CMake if missing, builds the tessaro program, converts
#               the example drawing into build/demo/
#   make test   installs what is missing, builds, runs every test: the unit and end-to-end tests,
#               the Debian package, the C library, an archive converted with GNU parallel, the
#               glTF and compact COLLADA documents in real clients, then side by side the
#               sanitizer pass, the Windows programs under Wine, the Blender add-on and the
#               browser page in headless Chromium; it fails when a test left a file in the
#               source tree
#   make fuzz   builds the libFuzzer targets with clang and runs each for FUZZ_SECONDS (default 60)
#   make package  makes build/tessaro_<version>_amd64.deb, build-win/tessaro-<version>-windows-x64.zip
#               and the Blender add-on build/tessaro-blender-<version>.zip
#   make web    builds the browser page into build-web/site/ and serves it on http://localhost:8080
JOBS ?= $(shell nproc)
DEMO_INPUT ?= examples/plan.jww
FUZZ_SECONDS ?= 60
FUZZ_JOBS ?= 1

.PHONY: setup build demo test test-package test-capi test-parallel test-outputs test-dxf test-sanitize test-windows test-blender test-web web web-site fuzz package bench bench-blender bench-web clean

setup:
	@./scripts/setup.sh

# Everything: the programs, the tests and the benchmarks (a build/ folder the demo configured
# without them gets them back).
build: setup
	@cmake -S . -B build -DCMAKE_BUILD_TYPE=Release -DTESSARO_BUILD_TESTS=ON -DTESSARO_BUILD_BENCH=ON >/dev/null
	@cmake --build build -j $(JOBS)

# Converts DEMO_INPUT (make demo DEMO_INPUT=other.jww converts another file) into build/demo/
# and prints the document's path. It needs only the compiler and CMake and builds only the
# program: a new build/ folder is configured without the tests and benchmarks (which need
# GoogleTest and Google Benchmark); one that is already configured keeps its configuration.
demo:
	@./scripts/setup.sh demo
	@[ -f build/CMakeCache.txt ] || \
		cmake -S . -B build -DCMAKE_BUILD_TYPE=Release -DTESSARO_BUILD_TESTS=OFF -DTESSARO_BUILD_BENCH=OFF >/dev/null
	@cmake --build build -j $(JOBS) --target tessaro
	@mkdir -p build/demo
	@if [ -f "$(DEMO_INPUT)" ]; then \
		build/tessaro --out build/demo "$(DEMO_INPUT)" || exit; \
		stem="build/demo/$(basename $(notdir $(DEMO_INPUT)))"; \
		echo "Document written: $(CURDIR)/$$(ls -t "$$stem.dae" "$$stem.glb" 2>/dev/null | head -n 1)"; \
	else \
		echo "$(DEMO_INPUT) is not there: nothing converted. Documents would go to $(CURDIR)/build/demo/"; \
	fi

# The slow checks of `make test`, which run side by side once build/ is built (each into its
# own log, printed when all are done): they then skip their own `build` step, so that no two
# of them configure or build the same tree.
SLOW_CHECKS = test-sanitize test-windows test-blender test-web test-dxf
BUILD_FIRST ?= build

test: build
	@./scripts/source-tree-check.sh start
	@cd build && ctest --output-on-failure -j $(JOBS)
	@$(MAKE) --no-print-directory test-package
	@$(MAKE) --no-print-directory test-capi
	@$(MAKE) --no-print-directory test-parallel
	@$(MAKE) --no-print-directory test-outputs
	@TESSARO_WINDOWS=1 TESSARO_BLENDER=1 TESSARO_WEB=1 ./scripts/setup.sh
	@./scripts/side-by-side.sh $(SLOW_CHECKS)
	@./scripts/source-tree-check.sh end

# The Debian package: its contents, its program installed in a scratch root, its manual page.
test-package: build
	@./scripts/package-test.sh

# The C library installed into a scratch prefix, found with find_package(Tessaro) by a
# scratch project, and its C test program run on a sample.
test-capi: build
	@JOBS=$(JOBS) ./scripts/capi-test.sh

# A folder tree converted with GNU parallel by the README's command for several machines, with
# this machine as the only one.
test-parallel: build
	@./scripts/parallel-test.sh

# Every sample's .glb and compact .dae in the glTF validator and three.js.
test-outputs: build
	@./scripts/check-outputs.sh

# Every sample's DXF read and audited by ezdxf, its exploded LINEs on the glb's segments,
# printed by LibreCAD with ink where the drawing is, Japanese names and texts as written.
test-dxf: $(BUILD_FIRST)
	@./scripts/dxf-test.sh

# Reader robustness (every prefix of every input), files read through a window, the conversion
# on several threads, the engine's call on every sample, the texts and the DXF writer, under
# AddressSanitizer and UBSan.
test-sanitize: setup
	@cmake -S . -B build-sanitize -DCMAKE_BUILD_TYPE=RelWithDebInfo -DTESSARO_SANITIZE=ON -DTESSARO_BUILD_BENCH=OFF >/dev/null
	@cmake --build build-sanitize -j $(JOBS) --target tessaro_tests
	@cd build-sanitize && LSAN_OPTIONS=suppressions=$(CURDIR)/tests/lsan-suppressions.txt ctest --output-on-failure -j $(JOBS) -R 'Truncation|Robust|ByteCursor|ConversionThreads|FigureList|FigureGroups|Engine|^Text|^DxfWriter'

# The Blender add-on: its zip installed and enabled in Blender 3.4 (a scratch user folder under
# build/), every sample imported, bad files beside a good one, and build/blender-render.png
# (and build/blender-heights.png, Test5.jww with heights in 3D).
test-blender: $(BUILD_FIRST)
	@TESSARO_BLENDER=1 ./scripts/setup.sh
	@JOBS=$(JOBS) ./scripts/blender-test.sh

# The Windows programs, cross-compiled and tested under Wine (unit tests and window checks).
test-windows:
	@./scripts/windows-test.sh

# The browser page: the engine as WebAssembly (emcmake, web/wasm/) in build-web/wasm/, bundled
# with the page (web/) into build-web/site/, a folder any static host serves as it is. Debian's
# emscripten runs its optimizer with the system's Node.js modules (NODE_PATH).
EMSDK_ENV = NODE_PATH=/usr/share/nodejs
web-site:
	@TESSARO_WEB=1 ./scripts/setup.sh
	@[ -f build-web/wasm/CMakeCache.txt ] || $(EMSDK_ENV) emcmake cmake -S . -B build-web/wasm -DCMAKE_BUILD_TYPE=Release >/dev/null
	@$(EMSDK_ENV) cmake --build build-web/wasm -j $(JOBS)
	@node web/build.mjs build-web/wasm build-web/site

# Builds the page and serves it on http://localhost:8080 (this machine only) until Ctrl-C.
web: web-site
	@node web/serve.mjs build-web/site 8080

# The page in headless Chromium (web/test/page.test.mjs): every sample dropped, its documents
# against build/tessaro's, the view and its background on every sample and a shadow diagram of
# each screen, bad files, no request leaving the page's origin; it leaves pictures of the view
# in build-web/screenshot*.png (with Test5.jww and Test1.jww in 3D in screenshot-heights*.png)
# and of the page in build-web/page.png.
test-web: $(BUILD_FIRST) web-site
	@node web/test/page.test.mjs build-web/site build/tessaro ../shared/samples/jww build-web/screenshot.png build/write_shadow_diagrams

# The libFuzzer targets of the four formats (tests/fuzz), built in build-fuzz/ and run for
# FUZZ_SECONDS each, FUZZ_JOBS at a time; scripts/fuzz.sh tells where findings go.
fuzz:
	@FUZZ_SECONDS=$(FUZZ_SECONDS) FUZZ_JOBS=$(FUZZ_JOBS) JOBS=$(JOBS) ./scripts/fuzz.sh

# The Debian package, the Windows zip from the MinGW build, and the Blender add-on with the
# converter's library for Linux and for Windows.
package: build
	@cd build && cpack -G DEB
	@TESSARO_WINDOWS=1 ./scripts/setup.sh
	@cmake -S . -B build-win -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-w64.cmake -DCMAKE_BUILD_TYPE=Release >/dev/null
	@cmake --build build-win -j $(JOBS) --target tessaro_gui tessaro_c
	@cd build-win && cpack -G ZIP
	@REQUIRE_WINDOWS=1 ./scripts/blender-package.sh

bench: build
	@for b in build/bench_*; do [ -x "$$b" ] && "$$b"; done

# The add-on's import of the 1,000,000-line drawing against Blender's own glTF importer.
bench-blender: build
	@TESSARO_BLENDER=1 ./scripts/setup.sh
	@./bench/blender-import.sh

# The page's goals (bench/bench_web.mjs): the large drawing in the page against the native
# program on one core, the page's weight, a sample's drop to its first frame.
bench-web: build web-site
	@node bench/bench_web.mjs

clean:
	rm -rf build build-sanitize build-win build-fuzz build-web
