# Orca loads this from the test's settings directory: every utterance it
# sends to speech goes to the file named in OHM_SPEECH_LOG, one a line, after
# the time it was sent.
import logging
import os

_handler = logging.FileHandler(os.environ["OHM_SPEECH_LOG"], encoding="utf-8")
_handler.setFormatter(logging.Formatter("%(created).3f %(message)s"))
_speech = logging.getLogger("speech")
_speech.setLevel(logging.INFO)
_speech.addHandler(_handler)
