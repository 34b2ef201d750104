# The two commands a newcomer needs: `make run` and `make test`.
BUILD_DIR ?= build
SCRIPT    ?=
JOBS      ?= $(shell nproc)

.PHONY: run test build deps bench screenshot package clean

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

clean:
	rm -rf $(BUILD_DIR)
