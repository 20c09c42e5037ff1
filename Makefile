# Build and test driver. `make build`, `make test`, `make run`; see the README.
# The native tree holds the portable core and its tests, the Windows tree (MinGW-w64)
# Skelvo.exe and the tests that run it under Wine.

NATIVE := build/native
WINDOWS := build/windows
JOBS := -j2

.PHONY: all deps build test run clean

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

clean:
	rm -rf build
