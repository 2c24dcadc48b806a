# make run  : install what is missing, build, and start Siteward
# make test : install what is missing, build, and run every test (plain and sanitizer builds)

BUILD      ?= build/release
ASAN_BUILD ?= build/asan
JOBS       ?= $(shell nproc)

.PHONY: run test deps build build-asan test-release test-asan install clean

deps:
	@bash scripts/install-deps.sh

$(BUILD)/build.ninja:
	cmake -S . -B $(BUILD) -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo

$(ASAN_BUILD)/build.ninja:
	cmake -S . -B $(ASAN_BUILD) -G Ninja -DCMAKE_BUILD_TYPE=Debug -DSITEWARD_SANITIZE=ON -DSITEWARD_BENCHMARKS=OFF

build: deps $(BUILD)/build.ninja
	cmake --build $(BUILD) -j $(JOBS)

build-asan: deps $(ASAN_BUILD)/build.ninja
	cmake --build $(ASAN_BUILD) -j $(JOBS)

run: build
	$(BUILD)/bin/siteward

test-release: build
	cd $(BUILD) && ctest --output-on-failure --no-tests=error -j $(JOBS)

test-asan: build-asan
	cd $(ASAN_BUILD) && ctest --output-on-failure --no-tests=error -j $(JOBS)

test: test-release test-asan

install: build
	cmake --install $(BUILD) --prefix $(or $(PREFIX),/opt/siteward)

clean:
	rm -rf build
