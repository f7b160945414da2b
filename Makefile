# SPDX-License-Identifier: GPL-3.0-or-later
# Set-up, build and test in one step each; see README.md.
MAKEFLAGS += --no-print-directory
BUILD ?= build
JOBS ?= $(shell nproc)
CMAKE_FLAGS ?= -DCMAKE_BUILD_TYPE=RelWithDebInfo
# The Qt of $(BUILD), and so of run, install and deb: 6, or QT=5 where Debian
# has no Qt 6. With Qt 6, make test checks Qt 5 as well, in $(BUILD_QT5).
QT ?= 6
BUILD_QT5 ?= build-qt5
QT_LISTS = qt$(QT) $(if $(filter 6,$(QT)),qt5)

.PHONY: deps test-deps configure build build-tests run test bench fuzz install deb clean

deps:
	@sh tools/install-deps.sh runtime build qt$(QT)

test-deps:
	@sh tools/install-deps.sh runtime build test $(QT_LISTS)

# The program alone: neither the tests nor their packages.
configure: deps
	@cmake -S . -B $(BUILD) $(CMAKE_FLAGS) -DQT_MAJOR_VERSION=$(QT) -DBUILD_TESTING=OFF >/dev/null

build: configure
	@cmake --build $(BUILD) -j $(JOBS)

build-tests: test-deps
	@cmake -S . -B $(BUILD) $(CMAKE_FLAGS) -DQT_MAJOR_VERSION=$(QT) -DBUILD_TESTING=ON >/dev/null
	@cmake --build $(BUILD) -j $(JOBS)

run: build
	$(BUILD)/gui/quillmarch

# The suite under the Qt of $(BUILD), then under Qt 5 in $(BUILD_QT5); then
# how many rows ran on real volumes, which needs root.
test: build-tests
	@rm -f $(BUILD)/real-volume-rows.log
	@cd $(BUILD) && ctest --output-on-failure -j $(JOBS); status=$$?; \
		sh $(CURDIR)/tools/real-volume-summary.sh real-volume-rows.log; exit $$status
	@if [ "$(QT)" = 6 ]; then $(MAKE) test QT=5 BUILD=$(BUILD_QT5); fi

bench: build-tests
	@sh tools/run-benchmarks.sh $(BUILD)

# The project-file fuzzer for five minutes (make test runs it for ten seconds).
fuzz: test-deps
	@QM_FUZZ_QT=$(QT) sh tools/run-fuzz.sh 300

# Builds as the user; only the copy into the system asks for sudo.
install: build
	@if [ -w "$$(cmake -L -N $(BUILD) | sed -n 's/^CMAKE_INSTALL_PREFIX:PATH=//p')" ]; then \
		cmake --install $(BUILD); \
	else \
		sudo cmake --install $(BUILD); \
	fi

# The Debian package, checked by lintian: quillmarch_VERSION_ARCH.deb here.
deb:
	@sh tools/install-deps.sh build qt6 package
	@JOBS=$(JOBS) sh tools/build-deb.sh

clean:
	rm -rf $(BUILD) $(BUILD_QT5) build-deb
