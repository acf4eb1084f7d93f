"""PyVISA backend over the playback driver: pyvisa.ResourceManager("FILE.xml@tap")
answers a program's VISA calls from the recording FILE.xml."""

from .highlevel import TapVisaLibrary

WRAPPER_CLASS = TapVisaLibrary

__all__ = ["TapVisaLibrary", "WRAPPER_CLASS"]
