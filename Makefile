# Set-up, build and test in one step each; see README.md.
MAKEFLAGS += --no-print-directory
BUILD ?= build
JOBS ?= $(shell nproc)
CMAKE_FLAGS ?= -DCMAKE_BUILD_TYPE=RelWithDebInfo

.PHONY: deps configure build run test bench fuzz install clean

deps:
	@sh tools/install-deps.sh

configure: deps
	@cmake -S . -B $(BUILD) $(CMAKE_FLAGS) >/dev/null

build: configure
	@cmake --build $(BUILD) -j $(JOBS)

run: build
	$(BUILD)/quillmarch

test: build
	cd $(BUILD) && ctest --output-on-failure -j $(JOBS)

bench: build
	@sh tools/run-benchmarks.sh $(BUILD)

# The project-file fuzzer for five minutes (make test runs it for ten seconds).
fuzz: deps
	@sh tools/run-fuzz.sh 300

install: build
	cmake --install $(BUILD)

clean:
	rm -rf $(BUILD)
