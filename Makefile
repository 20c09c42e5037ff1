# Build and test driver. `make build`, `make test`, `make run`; see the README.
# The native tree holds the portable core and its tests, the Windows tree (MinGW-w64)
# Skelvo.exe and the tests that run it under Wine.

NATIVE := build/native
WINDOWS := build/windows
JOBS := -j2

.PHONY: all deps build test run fuzz clean

all: build

deps:
	@tools/install-deps.sh

build: deps
	cmake -S . -B $(NATIVE)
	cmake --build $(NATIVE) $(JOBS)
	cmake -S . -B $(WINDOWS) -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-w64-x86_64.cmake
	cmake --build $(WINDOWS) $(JOBS)

# Both trees run even if the first fails; the target fails if either did.
test: build
	@status=0; \
	ctest --test-dir $(NATIVE) --output-on-failure || status=1; \
	ctest --test-dir $(WINDOWS) --output-on-failure || status=1; \
	exit $$status

run: build
	tools/run-panel.sh $(WINDOWS)/Skelvo.exe

# libFuzzer with ASan and UBSan on the settings file's parser, over a copy of the corpus
# (new inputs stay in the copy). Needs clang; `make fuzz FUZZ_RUNS=...` bounds the runs.
# Inputs are cut at 4096 bytes for speed; the longer corpus lines are replayed whole by
# the settings_corpus test.
FUZZ := build/fuzz
FUZZ_RUNS ?= 10000000
FUZZ_SOURCES := tests/fuzz/settings_fuzz.cpp settings/settings_format.cpp base/cp932.cpp

fuzz:
	mkdir -p $(FUZZ)
	clang++ -std=c++20 -O1 -g -I. -fsanitize=fuzzer,address,undefined \
		-fno-sanitize-recover=all $(FUZZ_SOURCES) -o $(FUZZ)/settings_fuzz
	rm -rf $(FUZZ)/corpus && cp -r tests/fuzz/corpus/settings $(FUZZ)/corpus
	$(FUZZ)/settings_fuzz -runs=$(FUZZ_RUNS) -max_len=4096 \
		-dict=tests/fuzz/settings.dict $(FUZZ)/corpus

clean:
	rm -rf build
