# Thin wrapper for README's commands.
BUILD ?= build
JOBS ?= $(shell nproc 2>/dev/null || echo 2)
CMAKE_FLAGS ?= -DCMAKE_BUILD_TYPE=Release

.PHONY: all deps configure build run test test-sanitize bench stress fuzz package clean

all: build

deps:
	@sh scripts/install-deps

configure: deps
	@cmake -S . -B $(BUILD) $(CMAKE_FLAGS) >/dev/null

build: configure
	@cmake --build $(BUILD) -j $(JOBS)

run: build
	@mkdir -p $(BUILD)/example
	@cp examples/TARVIK-EXAMPLE_DC8_20190521_R0.ict $(BUILD)/example/
	@if [ -x $(BUILD)/tarvik ] && { [ -n "$$DISPLAY" ] || [ -n "$$WAYLAND_DISPLAY" ]; }; then \
	  echo "Opening the desktop program with the example in its file box; press ScanFile."; \
	  $(BUILD)/tarvik $(BUILD)/example/TARVIK-EXAMPLE_DC8_20190521_R0.ict; \
	else \
	  echo "No display: scanning the example with the command-line scanner."; \
	  $(BUILD)/tarvik-scan $(BUILD)/example/TARVIK-EXAMPLE_DC8_20190521_R0.ict; status=$$?; \
	  echo "Verdict: $$(grep -o 'Good Job[^<]*\|Scanning failed[^<]*' $(BUILD)/example/TARVIK-EXAMPLE_DC8_20190521_R0.ict__diagnostic.htm | head -1)"; \
	  echo "Open the report in a web browser to read it."; exit $$status; \
	fi

test: build
	@cd $(BUILD) && ctest --output-on-failure -j $(JOBS)
	@echo "Again under the decimal-comma locale de_DE.UTF-8:"
	@cd $(BUILD) && LC_ALL=de_DE.UTF-8 ctest --output-on-failure -j $(JOBS)

# The engine, plot core, command line and their tests with AddressSanitizer and
# UndefinedBehaviorSanitizer (clang 14), in build-sanitize/; runs the whole suite.
SANITIZE_ENV = ASAN_OPTIONS=detect_leaks=1:abort_on_error=0:strict_string_checks=1:detect_stack_use_after_return=1 \
  UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1
test-sanitize: deps
	@cmake -S . -B build-sanitize -DCMAKE_BUILD_TYPE=RelWithDebInfo -DTARVIK_SANITIZE=ON -DTARVIK_BUILD_GUI=OFF \
	  -DCMAKE_C_COMPILER=clang-14 -DCMAKE_CXX_COMPILER=clang++-14 >/dev/null
	@cmake --build build-sanitize -j $(JOBS)
	@cd build-sanitize && $(SANITIZE_ENV) ctest --output-on-failure -j $(JOBS)

# Throughput against wc -l on generated 100 MB files, the scanner's peak memory, and the desktop
# scan against tarvik-scan (when the desktop is built).
bench: build
	@sh bench/run-bench $(BUILD)

# Large inputs (a 2.2 GiB file, a 100 MB line, 10 million blank lines, 2^31 announced points):
# verdicts, times and peak memory. Not part of make test; needs about 2.5 GB free (STRESS_DIR).
stress: build
	@sh bench/run-stress $(BUILD)

# The libFuzzer targets fuzz_scan (whole scans) and fuzz_tokens (the token and line tests) with
# AddressSanitizer and UndefinedBehaviorSanitizer (clang 14), in build-fuzz/fuzz/.
fuzz: deps
	@cmake -S . -B build-fuzz -DCMAKE_BUILD_TYPE=RelWithDebInfo -DTARVIK_FUZZ=ON -DTARVIK_BUILD_GUI=OFF \
	  -DTARVIK_BUILD_TESTS=OFF -DCMAKE_C_COMPILER=clang-14 -DCMAKE_CXX_COMPILER=clang++-14 >/dev/null
	@cmake --build build-fuzz -j $(JOBS) --target fuzz_scan fuzz_tokens

# The Debian package $(BUILD)/tarvik_VERSION_ARCH.deb (cmake/TarvikPackage.cmake): the programs built,
# the site pages, the manual pages, the desktop entry and its icon, the README; install it with
# apt install ./$(BUILD)/tarvik_VERSION_ARCH.deb.
package: build
	@cd $(BUILD) && cpack

clean:
	rm -rf $(BUILD) build-fuzz build-sanitize
