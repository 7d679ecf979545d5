BUILD ?= build
BUILD_TYPE ?= RelWithDebInfo

.PHONY: all deps build run test clean

all: build

deps:
	@sh scripts/install-deps.sh

$(BUILD)/build.ninja:
	@cmake -S . -B $(BUILD) -G Ninja -DCMAKE_BUILD_TYPE=$(BUILD_TYPE) >/dev/null

build: deps $(BUILD)/build.ninja
	@cmake --build $(BUILD)

run: build
	./$(BUILD)/ohm-parallel

test: build
	cd $(BUILD) && ctest --output-on-failure --timeout 300 -j 2

clean:
	rm -rf $(BUILD)

.PHONY: screenshot
screenshot: build
	xvfb-run -a -s "-screen 0 1024x768x24 -nolisten tcp" \
		env QT_QPA_PLATFORM=xcb $(BUILD)/tests/take-screenshot docs/screenshot.png

.PHONY: package
package: build
	@sh scripts/install-deps.sh dpkg-dev
	cd $(BUILD) && cpack -G DEB
