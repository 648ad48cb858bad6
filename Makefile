# Tavlo: user entry points over CMake. `make run` plays, `make test` checks everything.
BUILD      ?= build
SANITIZE   ?= build-sanitize
BENCH      ?= build-bench
FUZZ       ?= build-fuzz
FUZZ_TIME  ?= 60
JOBS       ?= $(shell nproc)
CMAKE_ARGS ?=
PREFIX     ?= /usr/local
DESTDIR    ?=

.PHONY: all deps build run test sanitize bench fuzz gallery install package format clean

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

bench:
	@scripts/deps.sh bench
	cmake -S . -B $(BENCH) -DCMAKE_BUILD_TYPE=Release -DTAVLO_TESTS=OFF -DTAVLO_BENCH=ON $(CMAKE_ARGS)
	cmake --build $(BENCH) -j $(JOBS)
	@for b in $(BENCH)/bench/tavlo_bench_*; do [ -x "$$b" ] && "$$b" || exit 1; done

# Builds the libFuzzer targets with clang and runs each for FUZZ_TIME seconds, starting from the
# seeds in fuzz/corpus/NAME and collecting what it finds in the build folder.
fuzz:
	@scripts/deps.sh fuzz
	CC=clang CXX=clang++ cmake -S . -B $(FUZZ) -DCMAKE_BUILD_TYPE=RelWithDebInfo -DTAVLO_FUZZ=ON -DTAVLO_TESTS=OFF $(CMAKE_ARGS)
	cmake --build $(FUZZ) -j $(JOBS)
	@for f in $(FUZZ)/fuzz/fuzz_*; do \
		name=$$(basename $$f); seeds=fuzz/corpus/$${name#fuzz_}; work=$(FUZZ)/corpus/$${name#fuzz_}; \
		mkdir -p $$seeds $$work; echo "== $$name"; \
		$$f -max_total_time=$(FUZZ_TIME) -print_final_stats=1 $$work $$seeds || exit 1; \
	done

# Draws every widget in the game's skin into docs/widgets.png.
gallery: build
	cmake --build $(BUILD) --target gallery

# Installs the game, its data, its tools, desktop entry, icons and manual pages under PREFIX,
# inside DESTDIR when it is set (a staging root for packagers).
install: build
	DESTDIR="$(DESTDIR)" cmake --install $(BUILD) --prefix "$(PREFIX)"

# Builds the Debian package build/tavlo_VERSION_ARCH.deb (installing into /usr).
package: build
	cd $(BUILD) && cpack -G DEB

format:
	find src tests tools bench fuzz -name '*.cpp' -o -name '*.h' 2>/dev/null | xargs -r clang-format -i

clean:
	rm -rf $(BUILD) $(SANITIZE) $(BENCH) $(FUZZ)
