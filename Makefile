# The two commands a newcomer needs: `make run` and `make test`; CI also
# runs `make check`.
BUILD_DIR    ?= build
CHECK_DIR    ?= build-check
SCRIPT       ?=
JOBS         ?= $(shell nproc)
FUZZ_SECONDS ?= 60

# The sanitizers stop at the first report; leaks are reported (only the
# toolkit's own caches are suppressed, in tools/lsan.supp).
SANITIZER_ENV = ASAN_OPTIONS=detect_leaks=1:abort_on_error=1:strict_string_checks=1 \
  UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1 \
  LSAN_OPTIONS=suppressions=$(CURDIR)/tools/lsan.supp:print_suppressions=0

.PHONY: run test build deps bench screenshot package clean check check-build sanitize fuzz

deps:
	@tools/install-deps.sh

$(BUILD_DIR)/build.ninja: CMakeLists.txt | deps
	cmake -S . -B $(BUILD_DIR) -G Ninja -DCMAKE_BUILD_TYPE=Release

build: deps $(BUILD_DIR)/build.ninja
	cmake --build $(BUILD_DIR) -j $(JOBS)

run: build
	$(BUILD_DIR)/app/marrowpad $(if $(SCRIPT),"$(SCRIPT)")

test: build
	cd $(BUILD_DIR) && QT_QPA_PLATFORM=offscreen ctest --output-on-failure -j $(JOBS)

# The Debian package, build/marrowpad_VERSION_ARCH.deb.
package: build
	cmake --build $(BUILD_DIR) --target package

screenshot: build
	QT_QPA_PLATFORM=offscreen $(BUILD_DIR)/app/marrowpad_screenshot res/sample.mbs docs/screenshot.png

bench: build
	$(BUILD_DIR)/bench/marrowpad_bench
	QT_QPA_PLATFORM=offscreen $(BUILD_DIR)/bench/scripttree_bench
	QT_QPA_PLATFORM=offscreen $(BUILD_DIR)/bench/editor_bench

# Everything built with clang, the sanitizers and libFuzzer, in $(CHECK_DIR);
# there a warning is an error.
$(CHECK_DIR)/build.ninja: CMakeLists.txt | deps
	cmake -S . -B $(CHECK_DIR) -G Ninja -DCMAKE_BUILD_TYPE=Debug -DCMAKE_CXX_FLAGS_DEBUG="-O1 -g" \
	  -DCMAKE_CXX_COMPILER=clang++ -DMARROWPAD_SANITIZE=ON -DMARROWPAD_FUZZ=ON -DCMAKE_DISABLE_FIND_PACKAGE_benchmark=ON \
	  -DCMAKE_COMPILE_WARNING_AS_ERROR=ON

check-build: deps $(CHECK_DIR)/build.ninja
	cmake --build $(CHECK_DIR) -j $(JOBS)

# Every test program (the corpus replays included) under the sanitizers.
sanitize: check-build
	cd $(CHECK_DIR) && QT_QPA_PLATFORM=offscreen $(SANITIZER_ENV) ctest --output-on-failure -j $(JOBS)

# Each fuzz target for FUZZ_SECONDS seconds.
fuzz: check-build
	$(SANITIZER_ENV) tools/fuzz.sh $(CHECK_DIR) $(FUZZ_SECONDS)

# What CI runs beyond `make test`: the sanitizer suite and a minute of each fuzz target.
check: sanitize
	$(MAKE) fuzz FUZZ_SECONDS=60

clean:
	rm -rf $(BUILD_DIR) $(CHECK_DIR)
