# Build and test driver. `make build`, `make test`, `make run`, `make dist`, `make pictures`;
# see the README.
# The native tree holds the portable core and its tests, the Windows tree (MinGW-w64)
# Skelvo.exe and the tests that run it under Wine.

NATIVE := build/native
WINDOWS := build/windows
JOBS := -j2

.PHONY: all deps build test run dist pictures fuzz clean

all: build

deps:
	@tools/install-deps.sh

build: deps
	cmake -S . -B $(NATIVE)
	cmake --build $(NATIVE) $(JOBS)
	cmake -S . -B $(WINDOWS) -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-w64-x86_64.cmake
	cmake --build $(WINDOWS) $(JOBS)

# Both trees run even if the first fails; the target fails if either did. Once both
# passed, the hash of the Skelvo.exe they ran is noted for `dist`.
TESTED := $(WINDOWS)/tested-Skelvo.exe.sha256

test: build
	@rm -f $(TESTED); \
	status=0; \
	ctest --test-dir $(NATIVE) --output-on-failure || status=1; \
	ctest --test-dir $(WINDOWS) --output-on-failure || status=1; \
	[ $$status -ne 0 ] || cmake -E sha256sum $(WINDOWS)/Skelvo.exe >$(TESTED); \
	exit $$status

# Only the program and its skin: no test trees.
run: deps
	cmake -S . -B $(WINDOWS) -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-w64-x86_64.cmake
	cmake --build $(WINDOWS) $(JOBS) --target Skelvo
	tools/run-panel.sh $(WINDOWS)/Skelvo.exe

# build/Skelvo-<version>-win64.zip: the Skelvo.exe that passed `make test`, without its
# debug information, and the usage text; its symbols in build/Skelvo-<version>-win64.debug.
# Builds nothing: it fails unless `make test` passed on the Skelvo.exe there now.
dist: deps
	cmake -S . -B $(WINDOWS) -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-w64-x86_64.cmake
	cmake --build $(WINDOWS) --target dist

# The README's screenshots in docs/, taken from the real program under Wine.
pictures: deps
	cmake -S . -B $(WINDOWS) -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-w64-x86_64.cmake
	cmake --build $(WINDOWS) $(JOBS) --target Skelvo fixture
	tools/readme-pictures.sh $(WINDOWS)

# libFuzzer with ASan and UBSan on the settings file's parser, over a copy of the corpus
# (new inputs stay in the copy). Needs clang; `make fuzz FUZZ_RUNS=...` bounds the runs.
# Inputs are cut at 4096 bytes for speed; the longer corpus lines are replayed whole by
# the settings_corpus test.
FUZZ := build/fuzz
FUZZ_RUNS ?= 10000000
FUZZ_SOURCES := tests/fuzz/settings_fuzz.cpp settings/settings_format.cpp base/ansi_path.cpp

fuzz:
	mkdir -p $(FUZZ)
	clang++ -std=c++20 -O1 -g -I. -fsanitize=fuzzer,address,undefined \
		-fno-sanitize-recover=all $(FUZZ_SOURCES) -o $(FUZZ)/settings_fuzz
	rm -rf $(FUZZ)/corpus && cp -r tests/fuzz/corpus/settings $(FUZZ)/corpus
	$(FUZZ)/settings_fuzz -runs=$(FUZZ_RUNS) -max_len=4096 \
		-dict=tests/fuzz/settings.dict $(FUZZ)/corpus

clean:
	rm -rf build
