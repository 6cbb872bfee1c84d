# Two entry points for a fresh Debian 12 machine:
#   make demo   installs what is missing, builds, converts the example drawing into build/demo/
#   make test   installs what is missing, builds, runs every test: the unit and end-to-end tests,
#               the glTF and compact COLLADA documents in real clients, the sanitizer pass,
#               and the Windows programs under Wine
JOBS ?= $(shell nproc)
DEMO_INPUT ?= examples/plan.jww

.PHONY: setup build demo test test-outputs test-sanitize test-windows bench clean

setup:
	@./scripts/setup.sh

build: setup
	@cmake -S . -B build -DCMAKE_BUILD_TYPE=Release >/dev/null
	@cmake --build build -j $(JOBS)

# Converts DEMO_INPUT (make demo DEMO_INPUT=other.jww converts another file) into build/demo/.
demo: build
	@mkdir -p build/demo
	@if [ -f "$(DEMO_INPUT)" ]; then \
		build/tessaro --out build/demo "$(DEMO_INPUT)"; \
		echo "Documents written to $(CURDIR)/build/demo/"; \
	else \
		echo "$(DEMO_INPUT) is not there: nothing converted. Documents would go to $(CURDIR)/build/demo/"; \
	fi

test: build
	@cd build && ctest --output-on-failure -j $(JOBS)
	@$(MAKE) --no-print-directory test-outputs
	@$(MAKE) --no-print-directory test-sanitize
	@$(MAKE) --no-print-directory test-windows

# Every sample's .glb and compact .dae in the glTF validator and three.js.
test-outputs: build
	@./scripts/check-outputs.sh

# Reader robustness (every prefix of every input) under AddressSanitizer and UBSan.
test-sanitize: setup
	@cmake -S . -B build-sanitize -DCMAKE_BUILD_TYPE=RelWithDebInfo -DTESSARO_SANITIZE=ON -DTESSARO_BUILD_BENCH=OFF >/dev/null
	@cmake --build build-sanitize -j $(JOBS) --target tessaro_tests
	@cd build-sanitize && ctest --output-on-failure -j $(JOBS) -R 'Truncation|Robust'

# The Windows programs, cross-compiled and tested under Wine (unit tests and window checks).
test-windows:
	@./scripts/windows-test.sh

bench: build
	@for b in build/bench_*; do [ -x "$$b" ] && "$$b"; done

clean:
	rm -rf build build-sanitize build-win
