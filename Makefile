BUILD ?= build
BUILD_TYPE ?= RelWithDebInfo

.PHONY: all deps build run check test clean

all: build

# What building and running the desktop program needs; the targets that
# need more name it to scripts/install-deps.sh themselves.
deps:
	@sh scripts/install-deps.sh

$(BUILD)/build.ninja:
	@cmake -S . -B $(BUILD) -G Ninja -DCMAKE_BUILD_TYPE=$(BUILD_TYPE) >/dev/null

build: deps $(BUILD)/build.ninja
	@cmake --build $(BUILD)

run: build
	./$(BUILD)/ohm-parallel

# make check: the core's tests, which need no display, no browser and nothing
# beyond what make run installs.
check: build
	cd $(BUILD) && ctest -L core --output-on-failure -j 2

# The suite runs after the static checks, so CI gets both; the web face's
# tests in the browsers come last, against a build with the test hooks.
test: test-deps lint web-test-build
	cd $(BUILD) && ctest --output-on-failure --timeout 300 -j 2
	@sh tests/web/run.sh $(WEB_TEST_BUILD)/site

.PHONY: test-deps
test-deps:
	@sh scripts/install-deps.sh test web web-test

# make web: the drill as a web page, built into $(WEB_BUILD)/site and served
# on this machine only until stopped; make web-build only builds it. The web
# tests run against a build of their own in $(WEB_TEST_BUILD), with the test
# hooks the shipped site leaves out. Debian's Emscripten finds its
# JavaScript modules through NODE_PATH when Node.js is not Debian's own.
WEB_BUILD ?= build-web
WEB_TEST_BUILD ?= build-web-test
WEB_PORT ?= 8000
WEB_ENV = NODE_PATH=/usr/share/nodejs

.PHONY: web web-build web-test-build test-web
web-build:
	@sh scripts/install-deps.sh web
	@[ -f $(WEB_BUILD)/build.ninja ] || \
		$(WEB_ENV) emcmake cmake -S . -B $(WEB_BUILD) -G Ninja >/dev/null
	@$(WEB_ENV) cmake --build $(WEB_BUILD) --parallel 2

web-test-build:
	@sh scripts/install-deps.sh web
	@[ -f $(WEB_TEST_BUILD)/build.ninja ] || \
		$(WEB_ENV) emcmake cmake -S . -B $(WEB_TEST_BUILD) -G Ninja -DOHM_TEST_HOOKS=ON >/dev/null
	@$(WEB_ENV) cmake --build $(WEB_TEST_BUILD) --parallel 2

web: web-build
	@echo "The drill is at http://127.0.0.1:$(WEB_PORT)/ until Ctrl-C."
	cd $(WEB_BUILD)/site && /usr/bin/python3 -m http.server $(WEB_PORT) --bind 127.0.0.1

# WebKitGTK and the Orca test run on Xvfb, so the web tests need the lab too.
test-web: web-test-build
	@sh scripts/install-deps.sh test web-test
	@sh tests/web/run.sh $(WEB_TEST_BUILD)/site

clean:
	rm -rf $(BUILD) $(WEB_BUILD) $(WEB_TEST_BUILD) $(DIST)

.PHONY: screenshot
screenshot: build
	@sh scripts/install-deps.sh xvfb xauth
	xvfb-run -a -s "-screen 0 1024x768x24 -nolisten tcp" \
		env QT_QPA_PLATFORM=xcb $(BUILD)/tests/take-screenshot docs/screenshot.png

.PHONY: package
package: build
	@sh scripts/install-deps.sh dpkg-dev
	cd $(BUILD) && cpack -G DEB

# make dist: the release files in $(DIST)/, each named with the version: the
# .deb, the site as a .zip ready to upload (one folder, the site's files in
# it), the edition in one file, and their SHA256SUMS.
VERSION := $(shell sed -n 's/^project.ohm-parallel VERSION \([0-9.]*\).*/\1/p' CMakeLists.txt)
DIST ?= dist
WEB_DIST = ohm-parallel-web-$(VERSION)

.PHONY: dist
dist: build web-build
	@sh scripts/install-deps.sh dpkg-dev
	@rm -rf $(DIST) $(WEB_BUILD)/$(WEB_DIST) && mkdir -p $(DIST)
	@cd $(BUILD) && cpack -G DEB -B $(CURDIR)/$(DIST)/deb >/dev/null
	@mv $(DIST)/deb/ohm-parallel_$(VERSION)_*.deb $(DIST)/ && rm -rf $(DIST)/deb
	@cp -r $(WEB_BUILD)/site $(WEB_BUILD)/$(WEB_DIST)
	@cd $(WEB_BUILD) && /usr/bin/python3 -m zipfile -c $(CURDIR)/$(DIST)/$(WEB_DIST).zip $(WEB_DIST)
	@rm -rf $(WEB_BUILD)/$(WEB_DIST)
	@cp $(WEB_BUILD)/ohm-parallel.html $(DIST)/ohm-parallel-$(VERSION).html
	@cd $(DIST) && sha256sum ohm-parallel* >SHA256SUMS
	@ls -l $(DIST)

# make bench: the desktop program on Xvfb, the web edition in Chromium
# through the web tests' Playwright and through bench/'s own Lighthouse.
.PHONY: bench
bench: build web-build
	@sh scripts/install-deps.sh web-test bench valgrind xvfb xauth
	@sh bench/run-bench.sh $(BUILD) $(WEB_BUILD)/site

# make test-sanitize: the whole suite again, built with AddressSanitizer and
# UndefinedBehaviorSanitizer in a build directory of its own. Qt is not
# instrumented; scripts/lsan.supp names the leaks of the libraries below it.
# The suite needs the test lab, and Emscripten for the rules in the browser's
# build.
SANITIZE_BUILD ?= build-sanitize
SANITIZE_ENV = ASAN_OPTIONS=detect_stack_use_after_return=1:check_initialization_order=1:strict_init_order=1 \
	UBSAN_OPTIONS=print_stacktrace=1 \
	LSAN_OPTIONS=suppressions=$(CURDIR)/scripts/lsan.supp:print_suppressions=0

.PHONY: test-sanitize
test-sanitize:
	@sh scripts/install-deps.sh test web
	@cmake -S . -B $(SANITIZE_BUILD) -G Ninja -DCMAKE_BUILD_TYPE=$(BUILD_TYPE) -DOHM_SANITIZE=ON >/dev/null
	@cmake --build $(SANITIZE_BUILD)
	cd $(SANITIZE_BUILD) && env $(SANITIZE_ENV) ctest --output-on-failure --timeout 300 -j 2

# make fuzz: the answer-entry fuzz target under libFuzzer, ASan and UBSan for
# FUZZ_SECONDS. New inputs collect in $(FUZZ_BUILD)/corpus and a crashing one
# is written to $(FUZZ_BUILD)/; one worth keeping goes into fuzz/corpus,
# which make test replays.
FUZZ_BUILD ?= build-fuzz
FUZZ_SECONDS ?= 60

.PHONY: fuzz
fuzz:
	@sh scripts/install-deps.sh clang-14 libclang-rt-14-dev
	@cmake -S . -B $(FUZZ_BUILD) -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
		-DCMAKE_CXX_COMPILER=clang++-14 -DOHM_FUZZ=ON >/dev/null
	@cmake --build $(FUZZ_BUILD) --target entry_fuzzer
	@mkdir -p $(FUZZ_BUILD)/corpus
	$(FUZZ_BUILD)/fuzz/entry_fuzzer -max_total_time=$(FUZZ_SECONDS) -print_final_stats=1 \
		-artifact_prefix=$(FUZZ_BUILD)/ $(FUZZ_BUILD)/corpus fuzz/corpus

# make lint: clang-format's verdict on every source and header, and
# clang-tidy (checks in .clang-tidy) over the project's own sources with the
# compile commands of $(BUILD). A source found clean is stamped in
# $(BUILD)/lint, so the next run looks again only at what changed.
LINT_DIRS := app app/qt drill marking tests fuzz
LINT_SOURCES = $(sort $(wildcard $(addsuffix /*.cpp,$(LINT_DIRS))) app/web/diagrampixels.cpp)
LINT_HEADERS = $(sort $(wildcard $(addsuffix /*.h,$(LINT_DIRS))))
LINT_STAMPS = $(LINT_SOURCES:%.cpp=$(BUILD)/lint/%.ok)
lint_empty :=
lint_space := $(lint_empty) $(lint_empty)
LINT_HEADER_FILTER = ^$(CURDIR)/($(subst $(lint_space),|,$(LINT_DIRS)))/

.PHONY: lint
lint: build
	@sh scripts/install-deps.sh test
	@echo "clang-format --dry-run --Werror: $(words $(LINT_SOURCES) $(LINT_HEADERS)) files"
	@clang-format-14 --dry-run --Werror $(LINT_SOURCES) $(LINT_HEADERS)
	@$(MAKE) --no-print-directory -s -j 2 lint-tidy

.PHONY: lint-tidy
lint-tidy: $(LINT_STAMPS)

# clang-tidy's count of the warnings it filtered out of Qt's headers is noise.
$(BUILD)/lint/%.ok: %.cpp $(LINT_HEADERS) .clang-tidy $(BUILD)/compile_commands.json
	@mkdir -p $(@D)
	@echo "clang-tidy $<"
	@if clang-tidy-14 -p $(BUILD) --quiet --header-filter='$(LINT_HEADER_FILTER)' $< >$@.log 2>&1; \
	then touch $@; else grep -v 'warnings\? generated\.$$' $@.log; exit 1; fi
