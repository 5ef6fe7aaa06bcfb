import pytest

from harness import Client, Session, Yarrowkit


@pytest.fixture
def session():
    wine_session = Session()
    yield wine_session
    wine_session.stop()


@pytest.fixture
def client(session):
    test_client = Client(session)
    yield test_client
    test_client.close()


@pytest.fixture
def app(session, client):
    """The program, not yet started: tests may prepare files first."""
    program = Yarrowkit(session, client)
    yield program
    if program.running():
        program.process.kill()
