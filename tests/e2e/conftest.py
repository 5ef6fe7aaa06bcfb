import pytest

from harness import Client, Session, Yarrowkit


@pytest.fixture
def session():
    s = Session()
    yield s
    s.stop()


@pytest.fixture
def client(session):
    c = Client(session)
    yield c
    c.close()


@pytest.fixture
def app(session, client):
    """The program, not yet started: tests may prepare files first."""
    program = Yarrowkit(session, client)
    yield program
    if program.running():
        program.process.kill()
