# Tavlo: user entry points over CMake. `make run` plays, `make test` checks everything.
BUILD      ?= build
SANITIZE   ?= build-sanitize
BENCH      ?= build-bench
JOBS       ?= $(shell nproc)
CMAKE_ARGS ?=

.PHONY: all deps build run test sanitize bench format clean

all: build

deps:
	@scripts/deps.sh

build: deps
	cmake -S . -B $(BUILD) -DCMAKE_BUILD_TYPE=RelWithDebInfo $(CMAKE_ARGS)
	cmake --build $(BUILD) -j $(JOBS)

run: build
	$(BUILD)/game/tavlo

test: deps
	cmake -S . -B $(BUILD) -DCMAKE_BUILD_TYPE=RelWithDebInfo -DTAVLO_WERROR=ON $(CMAKE_ARGS)
	cmake --build $(BUILD) -j $(JOBS)
	ctest --test-dir $(BUILD) --output-on-failure -j $(JOBS)

sanitize: deps
	cmake -S . -B $(SANITIZE) -DCMAKE_BUILD_TYPE=Debug -DTAVLO_SANITIZE=ON -DTAVLO_WERROR=ON $(CMAKE_ARGS)
	cmake --build $(SANITIZE) -j $(JOBS)
	ASAN_OPTIONS=detect_leaks=1:abort_on_error=1 UBSAN_OPTIONS=print_stacktrace=1 \
		ctest --test-dir $(SANITIZE) --output-on-failure -j $(JOBS)

bench: deps
	cmake -S . -B $(BENCH) -DCMAKE_BUILD_TYPE=Release -DTAVLO_TESTS=OFF -DTAVLO_BENCH=ON $(CMAKE_ARGS)
	cmake --build $(BENCH) -j $(JOBS)
	@for b in $(BENCH)/bench/tavlo_bench_*; do [ -x "$$b" ] && "$$b" || exit 1; done

format:
	find src tests tools bench fuzz -name '*.cpp' -o -name '*.h' 2>/dev/null | xargs -r clang-format -i

clean:
	rm -rf $(BUILD) $(SANITIZE) $(BENCH)
