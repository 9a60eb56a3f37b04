"""Builds the wheel's contents with CMake: the extension module `zivoviviruvov` (with its
type stubs) and the `zvv` program, which the wheel installs as a script.

The CMake build directory is build/release in the source tree (the .deb comes from it
too), so that rebuilds are incremental and the compiler cache serves them. ZV_WHEEL_BUILD_DIR
names another one; ZV_WHEEL_JOBS the number of parallel compile jobs (default: all cores).
"""
import os
import re
import shutil
import subprocess
import sys

from setuptools import Extension, setup
from setuptools.command.build_ext import build_ext
from distutils.command.build_scripts import build_scripts  # setuptools keeps no subclass of its own

SOURCE_DIR = os.path.dirname(os.path.abspath(__file__))
BUILD_DIR = os.environ.get("ZV_WHEEL_BUILD_DIR", os.path.join(SOURCE_DIR, "build", "release"))
ZVV = os.path.join(BUILD_DIR, "tools", "zvv", "zvv")


def project_version():
    cmake_lists = open(os.path.join(SOURCE_DIR, "CMakeLists.txt"), encoding="utf-8").read()
    return re.search(r"project\(\w+\s+VERSION\s+([\d.]+)", cmake_lists).group(1)


def cmake_build():
    """Configures (once) and builds the module and zvv for the running interpreter."""
    configure = ["cmake", "-S", SOURCE_DIR, "-B", BUILD_DIR, "-DCMAKE_BUILD_TYPE=Release",
                 f"-DPython3_EXECUTABLE={sys.executable}", "-DZV_BUILD_TESTS=OFF",
                 "-DZV_BUILD_BENCH=OFF"]
    if shutil.which("ninja") and not os.path.exists(os.path.join(BUILD_DIR, "CMakeCache.txt")):
        configure += ["-G", "Ninja"]
    try:
        import pybind11  # the build requirement: its CMake package, wherever pip put it

        configure.append(f"-Dpybind11_DIR={pybind11.get_cmake_dir()}")
    except ImportError:
        pass
    subprocess.check_call(configure)
    jobs = os.environ.get("ZV_WHEEL_JOBS", str(os.cpu_count() or 1))
    subprocess.check_call(["cmake", "--build", BUILD_DIR, "--parallel", jobs,
                           "--target", "zivoviviruvov_python", "zvv"])


class CMakeBuildExt(build_ext):
    def build_extension(self, ext):
        cmake_build()
        python_dir = os.path.join(BUILD_DIR, "python")
        built = [f for f in os.listdir(python_dir) if f.startswith("zivoviviruvov.") and f.endswith(".so")]
        target = self.get_ext_fullpath(ext.name)
        os.makedirs(os.path.dirname(target), exist_ok=True)
        shutil.copyfile(os.path.join(python_dir, built[0]), target)
        # The stubs go beside the module, where editors look, and into a stub-only package,
        # where mypy looks for a module that is not a package.
        stubs = os.path.join(python_dir, "zivoviviruvov.pyi")
        site = os.path.dirname(target)
        shutil.copyfile(stubs, os.path.join(site, "zivoviviruvov.pyi"))
        os.makedirs(os.path.join(site, "zivoviviruvov-stubs"), exist_ok=True)
        shutil.copyfile(stubs, os.path.join(site, "zivoviviruvov-stubs", "__init__.pyi"))


class CopyNativeScripts(build_scripts):
    """zvv is a native program, built with the module: copied as it is (setuptools would
    read it as a Python script looking for a shebang)."""

    def run(self):
        self.run_command("build_ext")
        os.makedirs(self.build_dir, exist_ok=True)
        for script in self.scripts:
            target = os.path.join(self.build_dir, os.path.basename(script))
            shutil.copyfile(script, target)
            os.chmod(target, 0o755)


setup(
    version=project_version(),
    ext_modules=[Extension("zivoviviruvov", sources=[])],
    scripts=[ZVV],
    cmdclass={"build_ext": CMakeBuildExt, "build_scripts": CopyNativeScripts},
    # setuptools' own work files go inside the CMake build folder, not beside it.
    options={"build": {"build_base": os.path.join(BUILD_DIR, "setuptools")},
             "egg_info": {"egg_base": os.path.relpath(BUILD_DIR, SOURCE_DIR)}},
)
