<?php
// The peer of tests that upload. PHP's built-in web server runs this for every
// request: it writes down what arrived, as PHP's own multipart parser read it
// (request-<n>.txt in the data folder, one "name=value" line each with the
// value URL-encoded; the file part copied to request-<n>.bin), then answers.
//
//   /canned/<status>/<location>/...   answers with that status and a
//       Location of the kind named: "page" (an absolute http address),
//       "none", "relative" or "program" (a file: address); stores nothing.
//   anything else                     goes on to the reference server
//       (server/Tessaly.php, the document root).
//
// While a file named "hold" is in the data folder, every answer waits (up to
// 30 s) until the test removes it, so that a test can look at what the
// program shows during an upload however fast the upload would be.

declare(strict_types=1);

$data = getenv('TESSALY_DATA');
$number = count(glob($data . '/request-*.txt')) + 1;
$record = [
    'method' => $_SERVER['REQUEST_METHOD'] ?? '',
    'uri' => $_SERVER['REQUEST_URI'] ?? '',
    'content_type' => $_SERVER['CONTENT_TYPE'] ?? '',
    'content_length' => $_SERVER['CONTENT_LENGTH'] ?? '',
    'user_agent' => $_SERVER['HTTP_USER_AGENT'] ?? '',
    'expect' => $_SERVER['HTTP_EXPECT'] ?? '',
];
foreach ($_POST as $name => $value) {
    $record['field.' . $name] = is_string($value) ? $value : json_encode($value);
}
foreach ($_FILES as $field => $file) {
    foreach (['name', 'type', 'size', 'error'] as $key) {
        $record['file.' . $field . '.' . $key] = (string)($file[$key] ?? '');
    }
    if (($file['error'] ?? 1) === UPLOAD_ERR_OK) {
        copy($file['tmp_name'], sprintf('%s/request-%d.bin', $data, $number));
    }
}
$lines = '';
foreach ($record as $name => $value) {
    $lines .= $name . '=' . rawurlencode((string)$value) . "\n";
}
file_put_contents(sprintf('%s/request-%d.txt', $data, $number), $lines);

$hold = $data . '/hold';
for ($waited = 0; file_exists($hold) && $waited < 3000; ++$waited) {
    usleep(10000);
    clearstatcache(true, $hold);
}

$path = (string)parse_url($_SERVER['REQUEST_URI'] ?? '/', PHP_URL_PATH);
if (preg_match('#^/canned/(\d{3})/(page|none|relative|program)/#', $path, $canned)) {
    $locations = [
        'page' => 'http://' . ($_SERVER['HTTP_HOST'] ?? '127.0.0.1') . '/Tessaly.php?workorder=77',
        'relative' => '/Tessaly.php?workorder=77',
        'program' => 'file:///C:/windows/system32/notepad.exe',
    ];
    if (isset($locations[$canned[2]])) {
        header('Location: ' . $locations[$canned[2]]);
    }
    // After the Location: PHP would make any status a 302 for it.
    http_response_code((int)$canned[1]);
    echo "canned\n";
    return true;
}
return false;
